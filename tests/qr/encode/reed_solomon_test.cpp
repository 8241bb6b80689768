#include "qr/encode/reed_solomon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

namespace varnelo::qr {
namespace {

GaloisField Gf256() {
  GaloisField field;
  EXPECT_TRUE(field.Init(256, 0x11D, 2));
  return field;
}

// Lays a block out for the coder: first data codeword at the highest index.
std::vector<std::int32_t> Block(const std::vector<int>& data, int ec) {
  std::vector<std::int32_t> message(data.size() + static_cast<std::size_t>(ec), 0);
  for (std::size_t m = 0; m < data.size(); ++m) message[message.size() - 1 - m] = data[m];
  return message;
}

// The error-correction codewords in transmission order (first at index e-1).
std::vector<int> Parity(const std::vector<std::int32_t>& message, int ec) {
  std::vector<int> parity;
  for (int c = 0; c < ec; ++c) parity.push_back(message[static_cast<std::size_t>(ec - 1 - c)]);
  return parity;
}

// The codeword polynomial (coefficient of x^i at index i) evaluated at alpha^j.
int Syndrome(const GaloisField& f, const std::vector<std::int32_t>& message, int j) {
  int value = 0;
  const int point = f.Exp(j);
  for (std::size_t i = message.size(); i-- > 0;) value = f.Add(f.Multiply(value, point), message[i]);
  return value;
}

TEST(ReedSolomon, WorkedExampleVersion1M) {
  const GaloisField f = Gf256();
  ReedSolomonEncoder coder;
  ASSERT_EQ(coder.Init(16, 10, &f), 1);
  const std::vector<int> data = {16, 32, 12, 86, 97, 128, 236, 17, 236, 17, 236, 17, 236, 17, 236, 17};
  auto message = Block(data, 10);
  coder.Encode(message);
  EXPECT_EQ(Parity(message, 10), (std::vector<int>{165, 36, 212, 193, 237, 54, 199, 135, 44, 85}));
  // The data part is left as it was.
  const auto original = Block(data, 10);
  EXPECT_TRUE(std::equal(message.begin() + 10, message.end(), original.begin() + 10));
}

TEST(ReedSolomon, GeneratorPolynomials) {
  const GaloisField f = Gf256();
  ReedSolomonEncoder coder;
  const auto coefficients = [&](int e) {
    std::vector<int> c;
    for (int i = 0; i <= e + 1; ++i) c.push_back(coder.GeneratorCoefficient(i));
    return c;
  };
  ASSERT_EQ(coder.Init(19, 7, &f), 1);
  EXPECT_EQ(coefficients(7), (std::vector<int>{117, 68, 11, 164, 154, 122, 127, 1, 0}));
  ASSERT_EQ(coder.Init(16, 10, &f), 1);
  EXPECT_EQ(coefficients(10), (std::vector<int>{193, 157, 113, 95, 94, 199, 111, 159, 194, 216, 1, 0}));
  EXPECT_EQ(coder.GeneratorElement(), 2);
  EXPECT_EQ(coder.DataCount(), 16);
  EXPECT_EQ(coder.EcCount(), 10);
  EXPECT_EQ(coder.FirstRoot(), 0);
  EXPECT_EQ(coder.GeneratorCoefficient(-1), 0);
  EXPECT_EQ(coder.GeneratorCoefficient(1024), 0);
}

TEST(ReedSolomon, CodewordsHaveZeroSyndromes) {
  const GaloisField f = Gf256();
  std::mt19937 random(7);
  ReedSolomonEncoder coder;
  struct Shape {
    int k, e;
  };
  for (const Shape s : {Shape{19, 7}, Shape{16, 10}, Shape{15, 30}, Shape{118, 30}, Shape{200, 55},
                        Shape{1, 1}}) {
    ASSERT_EQ(coder.Init(s.k, s.e, &f), 1);
    for (int trial = 0; trial < 5; ++trial) {
      std::vector<int> data(static_cast<std::size_t>(s.k));
      for (int& d : data) d = static_cast<int>(random() % 256);
      auto message = Block(data, s.e);
      coder.Encode(message);
      for (int j = 0; j < s.e; ++j) {
        EXPECT_EQ(Syndrome(f, message, j), 0) << "k=" << s.k << " e=" << s.e << " root " << j;
      }
    }
  }
}

TEST(ReedSolomon, FirstRootAndOtherGeneratorShiftTheRoots) {
  const GaloisField f = Gf256();
  ReedSolomonEncoder coder;
  // Roots 3^5 .. 3^12, and 3 stays stored for a later Init without element.
  ASSERT_EQ(coder.Init(20, 8, &f, 3, 5), 1);
  ASSERT_EQ(coder.Init(20, 8, &f, 0, 5), 1);
  EXPECT_EQ(coder.GeneratorElement(), 3);
  std::vector<int> data(20);
  for (int i = 0; i < 20; ++i) data[static_cast<std::size_t>(i)] = 11 * i + 1;
  auto message = Block(data, 8);
  coder.Encode(message);
  const int logThree = f.Log(3);
  for (int j = 5; j < 13; ++j) EXPECT_EQ(Syndrome(f, message, logThree * j % 255), 0) << j;
}

TEST(ReedSolomon, PrimeFieldCode) {
  GaloisField f;
  ASSERT_TRUE(f.Init(929));
  ReedSolomonEncoder coder;
  ASSERT_EQ(coder.Init(12, 6, &f, 0, 1), 1);
  std::vector<int> data = {5, 900, 17, 0, 44, 928, 3, 3, 100, 200, 300, 400};
  auto message = Block(data, 6);
  coder.Encode(message);
  for (int j = 1; j <= 6; ++j) EXPECT_EQ(Syndrome(f, message, f.Log(coder.GeneratorElement()) * j), 0);
}

TEST(ReedSolomon, SimpleBlocks) {
  const GaloisField f = Gf256();
  ReedSolomonEncoder coder;
  ASSERT_EQ(coder.Init(8, 10, &f), 1);
  auto zeros = Block(std::vector<int>(8, 0), 10);
  coder.Encode(zeros);
  EXPECT_EQ(zeros, std::vector<std::int32_t>(18, 0));
  // One symbol d at the lowest data position: the parity is d times g(x) minus x^e.
  std::vector<std::int32_t> single(18, 0);
  single[10] = 77;
  coder.Encode(single);
  for (int j = 0; j < 10; ++j) EXPECT_EQ(single[static_cast<std::size_t>(j)], f.Multiply(77, coder.GeneratorCoefficient(j)));
  // A short block: a leading zero coefficient leaves the parity unchanged.
  const std::vector<int> data = {1, 2, 3, 4, 5, 6, 7};
  auto shortBlock = Block(data, 10);
  coder.Encode(shortBlock);  // too short for k = 8: untouched
  EXPECT_EQ(shortBlock, Block(data, 10));
  std::vector<int> padded = {0};
  padded.insert(padded.end(), data.begin(), data.end());
  auto longBlock = Block(padded, 10);
  coder.Encode(longBlock);
  ReedSolomonEncoder seven;
  ASSERT_EQ(seven.Init(7, 10, &f), 1);
  seven.Encode(shortBlock);
  EXPECT_EQ(Parity(longBlock, 10), Parity(shortBlock, 10));
}

TEST(ReedSolomon, InitValidatesItsArguments) {
  const GaloisField f = Gf256();
  ReedSolomonEncoder coder;
  EXPECT_EQ(coder.Init(1000, 24, &f), 1);
  EXPECT_EQ(coder.Init(1000, 25, &f), 0);
  EXPECT_EQ(coder.Init(0, 10, &f), 0);
  EXPECT_EQ(coder.Init(10, 0, &f), 0);
  EXPECT_EQ(coder.Init(-1, 10, &f), 0);
  EXPECT_EQ(coder.Init(10, 10, &f, 0, -1), 0);
  EXPECT_EQ(coder.Init(10, 10, nullptr), 0);
  // A field without a generator and no element given cannot make a code.
  ReedSolomonEncoder fresh;
  const GaloisField empty;
  EXPECT_EQ(fresh.Init(10, 10, &empty), 0);
  std::vector<std::int32_t> message(20, 9);
  fresh.Encode(message);
  EXPECT_EQ(message, std::vector<std::int32_t>(20, 9));
}

TEST(ReedSolomon, CoderKeepsItsOwnFieldCopy) {
  GaloisField f = Gf256();
  ReedSolomonEncoder coder;
  ASSERT_EQ(coder.Init(16, 10, &f), 1);
  ASSERT_TRUE(f.Init(7));
  const std::vector<int> data = {16, 32, 12, 86, 97, 128, 236, 17, 236, 17, 236, 17, 236, 17, 236, 17};
  auto message = Block(data, 10);
  coder.Encode(message);
  EXPECT_EQ(Parity(message, 10), (std::vector<int>{165, 36, 212, 193, 237, 54, 199, 135, 44, 85}));
  EXPECT_EQ(coder.Field().Size(), 256);
}

TEST(ReedSolomon, NewFieldRebuildsTheGenerator) {
  const GaloisField gf256 = Gf256();
  GaloisField other;
  // x^8 + x^5 + x^3 + x^2 + 1, also with 2 as its primitive element.
  ASSERT_TRUE(other.Init(256, 0x12D, 2));
  ReedSolomonEncoder coder;
  ASSERT_EQ(coder.Init(16, 10, &gf256), 1);
  coder.SetField(other);
  ASSERT_EQ(coder.Init(16, 10, &other), 1);
  ReedSolomonEncoder fresh;
  ASSERT_EQ(fresh.Init(16, 10, &other), 1);
  for (int i = 0; i <= 10; ++i) EXPECT_EQ(coder.GeneratorCoefficient(i), fresh.GeneratorCoefficient(i)) << i;
  std::vector<std::int32_t> a(26), b(26);
  for (int i = 10; i < 26; ++i) a[static_cast<std::size_t>(i)] = b[static_cast<std::size_t>(i)] = i * 13;
  coder.Encode(a);
  fresh.Encode(b);
  EXPECT_EQ(a, b);
  // And back: the coder follows the field it is given.
  ASSERT_EQ(coder.Init(16, 10, &gf256), 1);
  EXPECT_EQ(coder.GeneratorCoefficient(0), 193);
}

}  // namespace
}  // namespace varnelo::qr
