#ifndef CHUNKEDWRITE_H
#define CHUNKEDWRITE_H

#include <QByteArray>

class QIODevice;

// Hands Text on to Device and empties it once it holds a chunk. A writer
// of many rows calls it after each row and writes the rest at the end, so
// millions of rows never sit in memory as one text, nor go out one at a
// time.
void WriteFullChunk(QIODevice &Device, QByteArray &Text);

#endif
