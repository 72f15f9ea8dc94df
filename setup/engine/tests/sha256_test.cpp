#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "setup/engine/payload_integrity.h"
#include "testsupport/test_support.h"

namespace vesk {
namespace {

std::string Hex(const Sha256Digest& digest) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (unsigned char byte : digest) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

bool AlwaysOn() { return true; }
bool AlwaysOff() { return false; }

// The digest of `pieces` given one after the other, through the forced path.
std::string DigestOf(bool fast, const std::vector<std::string>& pieces) {
  ScopedOverride path(g_useShaExtensions, fast ? &AlwaysOn : &AlwaysOff);
  Sha256 hash;
  EXPECT_EQ(hash.UsesShaExtensions(), fast);
  for (const std::string& piece : pieces) hash.Update(piece.data(), piece.size());
  Sha256Digest digest;
  EXPECT_TRUE(hash.Finish(digest));
  return Hex(digest);
}

// Both paths; the fast one only where this processor has the SHA extensions.
std::vector<bool> Paths() {
  std::vector<bool> paths{false};
  if (ProcessorHasShaExtensions()) paths.push_back(true);
  return paths;
}

// The published known answers, on both paths, whole and fed a byte at a time.
TEST(Sha256, KnownAnswers) {
  const struct {
    std::string message;
    const char* digest;
  } kRows[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqr"
       "lmnopqrsmnopqrstnopqrstu",
       "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (bool fast : Paths()) {
    for (const auto& row : kRows) {
      EXPECT_EQ(DigestOf(fast, {row.message}), row.digest) << fast << " " << row.message.size();
      if (row.message.size() > 1000) continue;
      std::vector<std::string> bytes;
      for (char c : row.message) bytes.push_back(std::string(1, c));
      EXPECT_EQ(DigestOf(fast, bytes), row.digest) << fast << " " << row.message.size();
    }
  }
}

// The kit's own code agrees with the system's hashing service on every length up to 300 bytes
// (every padding case) and on a few MiB of random data given in pieces of random sizes.
TEST(Sha256, ShaExtensionsAgreeWithTheSystemService) {
  if (!ProcessorHasShaExtensions()) GTEST_SKIP() << "no SHA extensions on this processor";
  std::mt19937 random(20261208);
  std::string data(3 * 1024 * 1024 + 17, '\0');
  for (char& c : data) c = static_cast<char>(random());
  for (size_t length = 0; length <= 300; ++length) {
    std::vector<std::string> whole{data.substr(0, length)};
    ASSERT_EQ(DigestOf(true, whole), DigestOf(false, whole)) << length;
  }
  std::vector<std::string> pieces;
  for (size_t at = 0; at < data.size();) {
    size_t size = std::min<size_t>(random() % 200000, data.size() - at);
    pieces.push_back(data.substr(at, size));
    at += size;
  }
  EXPECT_EQ(DigestOf(true, pieces), DigestOf(false, {data}));
}

// Where the processor has the SHA extensions (as the host system reports them), payload digests
// take them without being told to.
TEST(Sha256, TakesTheShaExtensionsWhereTheProcessorHasThem) {
  std::string cpuinfo = testing::ReadFileBytes(L"Z:\\proc\\cpuinfo");
  if (cpuinfo.empty()) GTEST_SKIP() << "the processor's features cannot be read here";
  const bool reported = cpuinfo.find(" sha_ni") != std::string::npos;
  EXPECT_EQ(Sha256().UsesShaExtensions(), reported);
}

// The payload digest of items of 9 MiB + 5 bytes and 6 MiB + 3 bytes (byte i is i * 7 mod 251:
// pieces hashed two at a time, the last one short and alone, or short beside a whole one) and of
// an empty item, as the build records them (setup/payload_digest.py), is the same however the
// bytes arrive: streamed in uneven parts, in memory on one or two threads on both paths, and read
// back from a file.
TEST(PayloadDigest, AgreesWithTheBuildsRecordOnEveryRoad) {
  std::string item((9 << 20) + 5, '\0');
  for (size_t i = 0; i < item.size(); ++i) item[i] = static_cast<char>(i * 7 % 251);
  const struct {
    std::string bytes;
    const char* recorded;
  } rows[] = {
      {item, "ded2abbcfb1f906d9854bd110992778ff0f7792f2e97afb02a532804e606eb47"},
      {item.substr(0, (6 << 20) + 3),
       "9bec77bacb43a2168a7b522611d8de8098647fa4aa009874a6e44d1dc3cc44bc"},
      {std::string(), "5df6e0e2761359d30a8275058e299fcc0381534545f55cf43e41983f5d4c9456"},
  };
  testing::ScopedTempFolder folder;
  for (const auto& row : rows) {
    PayloadDigest streamed;
    for (size_t at = 0, part = 1; at < row.bytes.size(); at += part, part = part * 3 + 1) {
      streamed.Update(row.bytes.data() + at, std::min(part, row.bytes.size() - at));
    }
    Sha256Digest digest;
    ASSERT_TRUE(streamed.Finish(digest));
    EXPECT_EQ(Hex(digest), row.recorded);
    for (bool fast : Paths()) {
      ScopedOverride path(g_useShaExtensions, fast ? &AlwaysOn : &AlwaysOff);
      for (unsigned threads : {1u, 2u}) {
        const std::optional<Sha256Digest> inMemory =
            PayloadDigestOf(row.bytes.data(), row.bytes.size(), threads);
        ASSERT_TRUE(inMemory);
        EXPECT_EQ(Hex(*inMemory), row.recorded) << threads << " " << fast;
      }
    }
    ASSERT_TRUE(testing::WriteFileBytes(folder / L"item.bin", row.bytes));
    const std::optional<Sha256Digest> fromFile = FileDigest(folder / L"item.bin");
    ASSERT_TRUE(fromFile);
    EXPECT_EQ(Hex(*fromFile), row.recorded);
  }
}

}  // namespace
}  // namespace vesk
