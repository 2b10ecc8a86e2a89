#ifndef SAMPLESPAN_H
#define SAMPLESPAN_H

#include <cassert>
#include <cstddef>
#include <vector>

// A run of samples that someone else owns: the reader's vectors, or an
// array another program hands in, read where it lies.
template <typename T>
class TSampleSpan
{
public:
  TSampleSpan() = default;
  TSampleSpan(const T *Data, std::size_t Size) : d_data(Data), d_size(Size)
  {
    assert(Data || Size == 0);
  }
  // Implicit: every vector of samples is a span of them.
  TSampleSpan(const std::vector<T> &Values) : d_data(Values.data()), d_size(Values.size()) {}

  const T &operator[](std::size_t Index) const { return d_data[Index]; }
  const T *data() const { return d_data; }
  std::size_t size() const { return d_size; }
  bool empty() const { return d_size == 0; }
  const T *begin() const { return d_data; }
  const T *end() const { return d_data + d_size; }

private:
  const T *d_data = nullptr;
  std::size_t d_size = 0;
};

#endif
