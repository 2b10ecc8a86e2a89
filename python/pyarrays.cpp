#include "pyarrays.h"

namespace py = pybind11;

TSampleArray SampleArray(py::handle Object, const char *Name)
{
  // ensure hands back the very array when it fits, and converts otherwise.
  TSampleArray array = TSampleArray::ensure(Object);
  if (!array) {
    PyErr_Clear();
    throw py::value_error(std::string(Name) + ": not an array of numbers");
  }
  if (array.ndim() != 1)
    throw py::value_error(std::string(Name) + ": one dimension expected, got " +
                          std::to_string(array.ndim()));
  return array;
}

py::array_t<double> OutArray(py::handle Out, std::size_t Size, const char *Name)
{
  if (Out.is_none())
    return py::array_t<double>(static_cast<py::ssize_t>(Size));
  if (!py::isinstance<TSampleArray>(Out))
    throw py::value_error(std::string(Name) + ": a contiguous float64 array expected");
  py::array_t<double> array = py::reinterpret_borrow<py::array_t<double>>(Out);
  if (array.ndim() != 1 || static_cast<std::size_t>(array.size()) != Size)
    throw py::value_error(std::string(Name) + ": " + std::to_string(Size) +
                          " elements in one dimension expected");
  if (!array.writeable())
    throw py::value_error(std::string(Name) + ": the array is read-only");
  return array;
}
