#include "common/EmptyText.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(EmptyTextTest, AbsentOrWithoutCharacters) {
    EXPECT_TRUE(isEmptyText(std::nullopt));
    EXPECT_TRUE(isEmptyText(""));
    EXPECT_FALSE(isEmptyText(" "));
    EXPECT_FALSE(isEmptyText("0"));
}

}  // namespace
}  // namespace zentrova
