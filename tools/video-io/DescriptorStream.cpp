#include "video-io/DescriptorStream.h"

#include <fcntl.h>
#include <io.h>

#include <type_traits>

namespace quorlin_resizer {

namespace {

int BinaryDescriptor(int descriptor) {
  _setmode(descriptor, _O_BINARY);
  return descriptor;
}

}  // namespace

template <class Stream>
DescriptorStream<Stream>::DescriptorStream(int descriptor)
    : Stream(nullptr),
      buffer_(BinaryDescriptor(descriptor),
              (std::is_same_v<Stream, std::istream> ? std::ios::in : std::ios::out) |
                  std::ios::binary,
              kBufferBytes) {
  this->rdbuf(&buffer_);
}

template class DescriptorStream<std::istream>;
template class DescriptorStream<std::ostream>;

}  // namespace quorlin_resizer
