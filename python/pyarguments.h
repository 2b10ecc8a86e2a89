#ifndef PYARGUMENTS_H
#define PYARGUMENTS_H

#include <pybind11/pybind11.h>

#include <QStringList>

// Python's keyword arguments as the report's options, so the report's own
// parser checks them and its messages come back: name_part=VALUE is
// --name-part VALUE; True is a switch, False and None leave it out; a
// tuple is one value, its items joined by commas (zero=(2048, 2050)); a
// list repeats the option (harmonic=[(5, 0.01), (7, 0.002)]). Floats are
// written in their shortest exact form, so the report reads the very
// number.
QStringList OptionArguments(const pybind11::dict &Keywords);

#endif
