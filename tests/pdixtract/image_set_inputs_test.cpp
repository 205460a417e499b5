// Replays the image inputs the fuzzer keeps: the seeds and every input that
// once broke the reader (tests/data/fuzz/image_set). Under the sanitizer
// build a leak or overflow on any of them fails the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fuzz_checks.h"
#include "test_support.h"

using namespace pdix_test;

namespace {

TEST(ImageSetInputs, EveryStoredInputIsReadOrRefusedCleanly) {
    int count = 0;
    for (const char* folder :
         {ZELVORN_FUZZ_SEEDS "/image_set", ZELVORN_TEST_DATA "/fuzz/image_set"}) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string bytes = read_file(entry.path());
            const char* problem =
                CheckImageSet(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            EXPECT_EQ(problem, nullptr) << entry.path() << ": " << problem;
            ++count;
        }
    }
    EXPECT_GE(count, 5) << "the seeds and the kept inputs";
}

}  // namespace
