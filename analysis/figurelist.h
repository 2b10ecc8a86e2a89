#ifndef FIGURELIST_H
#define FIGURELIST_H

#include <cstddef>
#include <iterator>
#include <memory>
#include <vector>

#include "studytrial.h"

// A study's figures in trial order, held in chunks of ChunkSize: the list
// grows with the trials done, never reallocates what it holds and never
// asks for room for trials that have not run. It keeps the interface of
// the standard containers it stands in for, so loops over it read alike.
class TFigureList
{
public:
  static const std::size_t ChunkSize = 4096;

  class TConstIterator
  {
  public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = TTrialFigures;
    using difference_type = std::ptrdiff_t;
    using pointer = const TTrialFigures *;
    using reference = const TTrialFigures &;

    TConstIterator() = default;
    TConstIterator(const TFigureList *List, std::size_t Index) : d_List(List), d_Index(Index) {}
    reference operator*() const { return (*d_List)[d_Index]; }
    pointer operator->() const { return &(*d_List)[d_Index]; }
    TConstIterator &operator++()
    {
      ++d_Index;
      return *this;
    }
    bool operator==(const TConstIterator &Other) const { return d_Index == Other.d_Index; }
    bool operator!=(const TConstIterator &Other) const { return d_Index != Other.d_Index; }

  private:
    const TFigureList *d_List = nullptr;
    std::size_t d_Index = 0;
  };
  // The standard containers' name for it.
  using const_iterator = TConstIterator;

  std::size_t size() const { return d_Size; }
  bool empty() const { return d_Size == 0; }
  const TTrialFigures &operator[](std::size_t Index) const
  {
    return d_Chunks[Index / ChunkSize][Index % ChunkSize];
  }
  TTrialFigures &operator[](std::size_t Index)
  {
    return d_Chunks[Index / ChunkSize][Index % ChunkSize];
  }
  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, d_Size); }

  void push_back(const TTrialFigures &Figures);
  // Shrinking frees the chunks no longer needed; growing appends default
  // figures.
  void resize(std::size_t Size);
  void clear() { resize(0); }

  // Bytes the list holds on the heap: its chunks and their table.
  std::size_t AllocatedBytes() const;

private:
  std::vector<std::unique_ptr<TTrialFigures[]>> d_Chunks;
  std::size_t d_Size = 0;
};

#endif
