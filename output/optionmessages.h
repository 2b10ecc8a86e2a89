#ifndef OPTIONMESSAGES_H
#define OPTIONMESSAGES_H

#include <QString>

// The messages of mistakes any of the programs' command lines can make.

inline QString GivenTwiceMessage(const QString &Name)
{
  return QString("--%1 is given twice: it may be given once").arg(Name);
}

inline QString UnexpectedArgumentMessage(const QString &Argument)
{
  return QString("unexpected argument '%1'").arg(Argument);
}

#endif
