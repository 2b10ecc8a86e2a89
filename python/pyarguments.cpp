#include "pyarguments.h"

namespace py = pybind11;

namespace {

QString Text(py::handle Value)
{
  if (py::isinstance<py::str>(Value))
    return QString::fromStdString(Value.cast<std::string>());
  // numpy's float64 is a float; its repr is Python's shortest round trip.
  if (py::isinstance<py::float_>(Value))
    return QString::fromStdString(py::repr(py::float_(Value.cast<double>())).cast<std::string>());
  if (py::isinstance<py::tuple>(Value)) {
    QStringList items;
    for (py::handle item : Value)
      items << Text(item);
    return items.join(',');
  }
  return QString::fromStdString(py::str(Value).cast<std::string>());
}

void Append(QStringList &Arguments, const QString &Option, py::handle Value)
{
  if (Value.is_none() || (py::isinstance<py::bool_>(Value) && !Value.cast<bool>()))
    return;
  Arguments << Option;
  if (!py::isinstance<py::bool_>(Value))
    Arguments << Text(Value);
}

}  // namespace

QStringList OptionArguments(const py::dict &Keywords)
{
  QStringList arguments;
  for (const auto &item : Keywords) {
    const QString option =
        "--" + QString::fromStdString(py::str(item.first).cast<std::string>()).replace('_', '-');
    if (py::isinstance<py::list>(item.second))
      for (py::handle value : item.second)
        Append(arguments, option, value);
    else
      Append(arguments, option, item.second);
  }
  return arguments;
}
