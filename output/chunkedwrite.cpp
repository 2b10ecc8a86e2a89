#include "chunkedwrite.h"

#include <QIODevice>

namespace {

const int ChunkSize = 1 << 16;

}  // namespace

void WriteFullChunk(QIODevice &Device, QByteArray &Text)
{
  if (Text.size() < ChunkSize)
    return;
  Device.write(Text);
  Text.clear();
}
