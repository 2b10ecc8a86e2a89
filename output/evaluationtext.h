#ifndef EVALUATIONTEXT_H
#define EVALUATIONTEXT_H

#include "encodersetup.h"

class QIODevice;

// The window's text table for this setup, newline-terminated. Written in
// pieces, so two million rows never sit in memory as one text.
void WriteTable(QIODevice &Device, const TEncoderSetup &Setup, const TEvaluation &Evaluation);

// One row per point, in the table's order: point,pass,position,error, the
// numbers with 17 significant digits so they read back exactly.
void WriteCsv(QIODevice &Device, const TEvaluation &Evaluation);

#endif
