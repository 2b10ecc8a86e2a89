#include "figurelist.h"

void TFigureList::push_back(const TTrialFigures &Figures)
{
  if (d_Size == d_Chunks.size() * ChunkSize)
    d_Chunks.push_back(std::make_unique<TTrialFigures[]>(ChunkSize));
  (*this)[d_Size++] = Figures;
}

void TFigureList::resize(std::size_t Size)
{
  const std::size_t chunks = (Size + ChunkSize - 1) / ChunkSize;
  if (chunks < d_Chunks.size()) {
    d_Chunks.resize(chunks);
    d_Chunks.shrink_to_fit();
  }
  // Figures beyond the old size are reset, also in a chunk that was kept.
  for (std::size_t i = d_Size; i < Size; ++i) {
    if (i == d_Chunks.size() * ChunkSize)
      d_Chunks.push_back(std::make_unique<TTrialFigures[]>(ChunkSize));
    (*this)[i] = TTrialFigures();
  }
  d_Size = Size;
}

std::size_t TFigureList::AllocatedBytes() const
{
  return d_Chunks.size() * ChunkSize * sizeof(TTrialFigures) +
         d_Chunks.capacity() * sizeof(d_Chunks[0]);
}
