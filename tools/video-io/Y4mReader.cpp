#include "video-io/Y4mReader.h"

#include <sstream>

namespace quorlin_resizer {

namespace {

const char kSignature[] = "YUV4MPEG2";
// Longest header or FRAME line accepted; real streams use well under a hundred bytes.
constexpr size_t kMaxLineLength = 1024;

// How a line read ended: the stream ended before it, with it, or inside it.
enum class LineRead { Missing, Whole, Cut };

// Reads up to '\n' (not stored).
LineRead ReadLine(std::istream &in, std::string &line, const char *what) {
  line.clear();
  int c;
  while ((c = in.get()) != std::char_traits<char>::eof()) {
    if (c == '\n') return LineRead::Whole;
    if (line.size() == kMaxLineLength)
      throw Y4mError(std::string(what) + " longer than " + std::to_string(kMaxLineLength) +
                     " bytes");
    line.push_back(static_cast<char>(c));
  }
  return line.empty() ? LineRead::Missing : LineRead::Cut;
}

int ParseSide(const std::string &value, char tag) {
  const std::string name(1, tag);
  if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos ||
      value.size() > 5)
    throw Y4mError("bad Y4M " + name + " value \"" + value + "\"");
  const int side = std::stoi(value);
  if (side < 1 || side > kMaxY4mSide)
    throw Y4mError("Y4M " + name + " " + value + " outside 1.." + std::to_string(kMaxY4mSide));
  return side;
}

const char kFormatHint[] = "; convert it with: ffmpeg -i INPUT -pix_fmt yuv420p OUTPUT.y4m";
const char kRangeHint[] =
    "; convert it with: ffmpeg -i INPUT -vf scale=out_range=tv -pix_fmt yuv420p OUTPUT.y4m";

void ParseChroma(const std::string &value, Y4mHeader &header) {
  struct Tag {
    const char *name;
    ChromaFormat format;
    ChromaSiting siting;
  };
  static const Tag kTags[] = {{"444", ChromaFormat::C444, {}},
                              {"422", ChromaFormat::C422, {true, false}},
                              {"420", ChromaFormat::C420, {}},
                              {"420jpeg", ChromaFormat::C420, {}},
                              {"420mpeg2", ChromaFormat::C420, {true, false}},
                              {"420paldv", ChromaFormat::C420, {true, true}}};
  for (const Tag &tag : kTags) {
    if (value != tag.name) continue;
    header.chroma = tag.format;
    header.siting = tag.siting;
    return;
  }
  throw Y4mError("unsupported Y4M colour space C" + value +
                 " (8-bit 4:4:4, 4:2:2 or 4:2:0 only)" + kFormatHint);
}

void ParseExtension(const std::string &value) {
  if (value == "COLORRANGE=FULL")
    throw Y4mError("full-range input (XCOLORRANGE=FULL) is not supported: the editor's YC48 "
                   "frames hold studio range" + std::string(kRangeHint));
}

bool ReadPlane(std::istream &in, std::vector<uint8_t> &plane) {
  in.read(reinterpret_cast<char *>(plane.data()), static_cast<std::streamsize>(plane.size()));
  return static_cast<size_t>(in.gcount()) == plane.size();
}

}  // namespace

Y4mHeader ParseY4mHeader(const std::string &line) {
  std::istringstream tokens(line);
  std::string token;
  if (!(tokens >> token) || token != kSignature) throw Y4mError("input is not a Y4M stream");
  Y4mHeader header;
  bool hasWidth = false, hasHeight = false;
  while (tokens >> token) {
    const std::string value = token.substr(1);
    switch (token[0]) {
      case 'W': header.width = ParseSide(value, 'W'); hasWidth = true; break;
      case 'H': header.height = ParseSide(value, 'H'); hasHeight = true; break;
      case 'C': ParseChroma(value, header); break;
      case 'F': header.frameRate = value; break;
      case 'I': header.interlace = value; break;
      case 'A': header.aspect = value; break;
      case 'X': ParseExtension(value); break;
      default: break;  // unknown tags carry nothing the host needs
    }
  }
  if (!hasWidth || !hasHeight) throw Y4mError("Y4M header without W and H");
  return header;
}

Y4mReader::Y4mReader(std::istream &in) : in_(in) {
  std::string line;
  const LineRead read = ReadLine(in_, line, "Y4M header");
  if (read == LineRead::Missing) throw Y4mError("empty input, no Y4M header");
  if (read == LineRead::Cut) throw Y4mError("truncated Y4M header (no end of line)");
  header_ = ParseY4mHeader(line);
}

bool Y4mReader::ReadFrame(Y4mFrame &frame) {
  if (cutFrame_ > 0) return false;
  const int number = framesRead_ + 1;
  const std::string where = "frame " + std::to_string(number);
  std::string line;
  const LineRead read = ReadLine(in_, line, ("FRAME line of " + where).c_str());
  if (read == LineRead::Missing) return false;
  if (read == LineRead::Whole &&
      (line.compare(0, 5, "FRAME") != 0 || (line.size() > 5 && line[5] != ' ')))
    throw Y4mError("expected FRAME at " + where);
  frame.Resize(header_.width, header_.height, header_.chroma);
  if (read == LineRead::Cut || !ReadPlane(in_, frame.y) || !ReadPlane(in_, frame.u) ||
      !ReadPlane(in_, frame.v)) {
    cutFrame_ = number;
    return false;
  }
  ++framesRead_;
  return true;
}

}  // namespace quorlin_resizer
