// Feeds arbitrary packets to the screen codec's test decoder, which reads what a file
// holds: it must never crash, read outside its buffers or hang, whatever the bytes. Every
// picture it does decode is then put through the encoder and a second decoder, which must
// give it back exactly: arbitrary pictures for the encoder's round trip.
//
// Input: width (1..64) and height (1..64) from the first two bytes, the key frame interval
// from the third, then packets, each led by its length in two bytes (little endian).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "screencodec/core/tests/zmbv_test_decoder.h"
#include "screencodec/core/zmbv_encoder.h"

using namespace zelvio::screencodec;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const int width = 1 + data[0] % 64, height = 1 + data[1] % 64;
  EncoderSettings settings{width, height, 1 + data[2] % 8, (data[2] & 0x80) ? Effort::Smaller : Effort::Faster};
  data += 3;
  size -= 3;
  test::ZmbvTestDecoder decoder(width, height), check(width, height);
  ZmbvEncoder encoder(settings);
  std::vector<uint8_t> packet;
  while (size >= 2) {
    size_t n = std::min<size_t>(size - 2, size_t(data[0] | data[1] << 8));
    // An exact copy, so a read past the packet's end is caught by the address sanitizer.
    std::vector<uint8_t> copy(data + 2, data + 2 + n);
    data += 2 + n;
    size -= 2 + n;
    if (!decoder.Decode(copy.data(), copy.size())) continue;
    if (decoder.Picture().size() != size_t(width) * height * 4) std::abort();
    encoder.Encode(decoder.Picture().data(), std::ptrdiff_t(width) * 4, packet);
    if (packet.size() > ZmbvEncoder::MaxPacketSize(width, height)) std::abort();
    if (!check.Decode(packet.data(), packet.size())) std::abort();
    // The X bytes of what the decoder showed may be anything; the encoder writes 0 there.
    for (size_t i = 0; i < check.Picture().size(); ++i) {
      uint8_t want = i % 4 == 3 ? 0 : decoder.Picture()[i];
      if (check.Picture()[i] != want) std::abort();
    }
  }
  return 0;
}
