#ifndef PYARRAYS_H
#define PYARRAYS_H

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstddef>

#include "samplespan.h"

// Samples as the C++ code reads them: one-dimensional, float64, contiguous.
using TSampleArray = pybind11::array_t<double, pybind11::array::c_style>;

// Object's samples: an array that already is one as it is (no copy), any
// other array or sequence converted once. ValueError names Name when it
// has not one dimension.
TSampleArray SampleArray(pybind11::handle Object, const char *Name);

// Where the C++ code reads the samples.
inline TSampleSpan<double> Span(const TSampleArray &Array)
{
  return TSampleSpan<double>(Array.data(), static_cast<std::size_t>(Array.size()));
}

// The array a function fills: Out itself when given (float64, contiguous,
// writable and Size long, else ValueError), a new one when None.
pybind11::array_t<double> OutArray(pybind11::handle Out, std::size_t Size, const char *Name);

#endif
