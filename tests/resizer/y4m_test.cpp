// Y4M reading and writing: round trips in every chroma format, headers, damaged streams.
#include <gtest/gtest.h>

#include <sstream>

#include "resizer/OutputGeometry.h"
#include "video-io/Y4mReader.h"
#include "video-io/Y4mWriter.h"

using namespace quorlin_resizer;

namespace {

Y4mFrame NumberedFrame(int width, int height, ChromaFormat chroma, int seed) {
  Y4mFrame frame;
  frame.Resize(width, height, chroma);
  for (size_t i = 0; i < frame.y.size(); ++i) frame.y[i] = static_cast<uint8_t>(i * 7 + seed);
  for (size_t i = 0; i < frame.u.size(); ++i) {
    frame.u[i] = static_cast<uint8_t>(i * 11 + seed);
    frame.v[i] = static_cast<uint8_t>(i * 13 + seed);
  }
  return frame;
}

}  // namespace

class Y4mRoundTrip : public ::testing::TestWithParam<ChromaFormat> {};

TEST_P(Y4mRoundTrip, FramesComeBackUnchanged) {
  Y4mHeader header;
  header.width = 7;  // odd sizes: chroma planes round up
  header.height = 5;
  header.chroma = GetParam();
  header.frameRate = "24000:1001";
  header.interlace = "t";
  header.aspect = "10:11";
  std::stringstream stream;
  Y4mWriter writer(stream, header);
  const Y4mFrame first = NumberedFrame(7, 5, GetParam(), 1);
  const Y4mFrame second = NumberedFrame(7, 5, GetParam(), 99);
  writer.WriteFrame(first);
  writer.WriteFrame(second);

  Y4mReader reader(stream);
  EXPECT_EQ(reader.Header().width, 7);
  EXPECT_EQ(reader.Header().height, 5);
  EXPECT_EQ(reader.Header().chroma, GetParam());
  EXPECT_EQ(reader.Header().frameRate, "24000:1001");
  EXPECT_EQ(reader.Header().interlace, "t");
  EXPECT_EQ(reader.Header().aspect, "10:11");
  Y4mFrame frame;
  ASSERT_TRUE(reader.ReadFrame(frame));
  EXPECT_EQ(frame.y, first.y);
  EXPECT_EQ(frame.u, first.u);
  EXPECT_EQ(frame.v, first.v);
  ASSERT_TRUE(reader.ReadFrame(frame));
  EXPECT_EQ(frame.v, second.v);
  EXPECT_FALSE(reader.ReadFrame(frame));
  EXPECT_EQ(reader.FramesRead(), 2);
}

INSTANTIATE_TEST_SUITE_P(AllChromaFormats, Y4mRoundTrip,
                         ::testing::Values(ChromaFormat::C444, ChromaFormat::C422,
                                           ChromaFormat::C420));

TEST(Y4mFormat, ChromaPlaneSizesRoundUp) {
  Y4mFrame frame;
  frame.Resize(7, 5, ChromaFormat::C420);
  EXPECT_EQ(frame.u.size(), 4u * 3u);
  frame.Resize(7, 5, ChromaFormat::C422);
  EXPECT_EQ(frame.u.size(), 4u * 5u);
  frame.Resize(7, 5, ChromaFormat::C444);
  EXPECT_EQ(frame.v.size(), 35u);
}

TEST(Y4mHeaderParsing, AcceptsEveryEightBitColourSpaceName) {
  EXPECT_EQ(ParseY4mHeader("YUV4MPEG2 W2 H2").chroma, ChromaFormat::C420);
  EXPECT_EQ(ParseY4mHeader("YUV4MPEG2 W2 H2 C420jpeg").chroma, ChromaFormat::C420);
  EXPECT_EQ(ParseY4mHeader("YUV4MPEG2 W2 H2 C420paldv").chroma, ChromaFormat::C420);
  EXPECT_EQ(ParseY4mHeader("YUV4MPEG2 W2 H2 C420mpeg2").chroma, ChromaFormat::C420);
  EXPECT_EQ(ParseY4mHeader("YUV4MPEG2 W2 H2 C422").chroma, ChromaFormat::C422);
  EXPECT_EQ(ParseY4mHeader("YUV4MPEG2 C444 H2 W2 XYSCSS=444").chroma, ChromaFormat::C444);
}

TEST(Y4mHeaderParsing, RejectsWhatTheHostCannotUse) {
  for (const char *line : {"", "YUV4MPEG W2 H2", "RIFF", "YUV4MPEG2 W2", "YUV4MPEG2 H2",
                           "YUV4MPEG2 W0 H2", "YUV4MPEG2 W-4 H2", "YUV4MPEG2 Wx H2",
                           "YUV4MPEG2 W16385 H2", "YUV4MPEG2 W99999999999 H2",
                           "YUV4MPEG2 W2 H2 C444p10", "YUV4MPEG2 W2 H2 Cmono",
                           "YUV4MPEG2 W2 H2 C411"}) {
    EXPECT_THROW(ParseY4mHeader(line), Y4mError) << line;
  }
}

TEST(Y4mReading, DamagedStreamsGiveErrors) {
  const std::string header = "YUV4MPEG2 W2 H2 C444\n";
  const std::string frame = "FRAME\n" + std::string(12, 'x');
  struct Case {
    std::string stream;
    const char *what;
  } cases[] = {
      {"", "empty input"},
      {"YUV4MPEG2 W2 H2 C444", "header without end of line"},
      {"YUV4MPEG2 W2 H2 C444 " + std::string(2000, 'X') + "\n", "endless header"},
      {header + "FRAMES\n" + std::string(12, 'x'), "misspelt FRAME"},
      {header + frame + "GARBAGE\n", "garbage after a frame"},
  };
  for (const Case &c : cases) {
    EXPECT_THROW(
        {
          std::istringstream in(c.stream);
          Y4mReader reader(in);
          Y4mFrame f;
          while (reader.ReadFrame(f)) {
          }
        },
        Y4mError)
        << c.what;
  }
}

TEST(Y4mReading, ACutStreamEndsAfterItsCompleteFrames) {
  const std::string header = "YUV4MPEG2 W2 H2 C444\n";
  const std::string frame = "FRAME\n" + std::string(12, 'x');
  const struct Case {
    std::string stream;
    int complete;  // frames read whole
    int cut;       // CutFrame(): counted from 1, 0 for a stream that ends between frames
    const char *what;
  } cases[] = {
      {header, 0, 0, "no frame"},
      {header + frame + frame, 2, 0, "two whole frames"},
      {header + frame.substr(0, frame.size() - 1), 0, 1, "first frame one byte short"},
      {header + "FRAME\n", 0, 1, "FRAME line without planes"},
      {header + "FRAM", 0, 1, "cut FRAME line"},
      {header + frame + frame + frame.substr(0, 9), 2, 3, "cut inside the third frame"},
      {header + frame + "FRAME", 1, 2, "FRAME line without its end"},
  };
  for (const Case &c : cases) {
    std::istringstream in(c.stream);
    Y4mReader reader(in);
    Y4mFrame f;
    int read = 0;
    while (reader.ReadFrame(f)) ++read;
    EXPECT_EQ(read, c.complete) << c.what;
    EXPECT_EQ(reader.FramesRead(), c.complete) << c.what;
    EXPECT_EQ(reader.CutFrame(), c.cut) << c.what;
    EXPECT_FALSE(reader.ReadFrame(f)) << c.what << ": read again after the end";
  }
}

TEST(Y4mReading, FrameParametersAreSkipped) {
  std::istringstream in("YUV4MPEG2 W2 H1 C444\nFRAME Ixyz\nabcdef");
  Y4mReader reader(in);
  Y4mFrame frame;
  ASSERT_TRUE(reader.ReadFrame(frame));
  EXPECT_EQ(frame.y[0], 'a');
  EXPECT_EQ(frame.v[1], 'f');
  EXPECT_FALSE(reader.ReadFrame(frame));
}

TEST(Y4mWriting, RefusesFramesThatDoNotMatchTheStream) {
  Y4mHeader header;
  header.width = 4;
  header.height = 2;
  header.chroma = ChromaFormat::C444;
  std::stringstream stream;
  Y4mWriter writer(stream, header);
  EXPECT_THROW(writer.WriteFrame(NumberedFrame(4, 2, ChromaFormat::C422, 0)),
               std::invalid_argument);
  EXPECT_THROW(writer.WriteFrame(NumberedFrame(4, 3, ChromaFormat::C444, 0)),
               std::invalid_argument);
  EXPECT_EQ(stream.str(), "YUV4MPEG2 W4 H2 F30:1 Ip A1:1 C444\n");
}

TEST(Y4mWriting, ResizedStreamsAreMarkedProgressive) {
  const Y4mHeader input = ParseY4mHeader("YUV4MPEG2 W1920 H1080 F30000:1001 It A1:1 C420jpeg");
  EXPECT_TRUE(IsInterlaced(input));
  EXPECT_EQ(FormatY4mHeader(OutputHeaderFor(input, 1280, 720, ChromaFormat::C444)),
            "YUV4MPEG2 W1280 H720 F30000:1001 Ip A1:1 C444\n");
  for (const char *mode : {"b", "m"}) {
    EXPECT_TRUE(IsInterlaced(ParseY4mHeader(std::string("YUV4MPEG2 W2 H2 I") + mode))) << mode;
  }
  for (const char *mode : {"p", "?"}) {
    EXPECT_FALSE(IsInterlaced(ParseY4mHeader(std::string("YUV4MPEG2 W2 H2 I") + mode))) << mode;
  }
}
