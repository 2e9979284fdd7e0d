#include "StandardStream.h"

#include <fcntl.h>
#include <io.h>

namespace quorlin_host {

namespace {

int BinaryDescriptor(int descriptor) {
  _setmode(descriptor, _O_BINARY);
  return descriptor;
}

std::ios::openmode ModeOf(int descriptor) {
  return (descriptor == 0 ? std::ios::in : std::ios::out) | std::ios::binary;
}

}  // namespace

template <class Stream>
StandardStream<Stream>::StandardStream(int descriptor)
    : Stream(nullptr), buffer_(BinaryDescriptor(descriptor), ModeOf(descriptor), kBufferBytes) {
  this->rdbuf(&buffer_);
}

template class StandardStream<std::istream>;
template class StandardStream<std::ostream>;

}  // namespace quorlin_host
