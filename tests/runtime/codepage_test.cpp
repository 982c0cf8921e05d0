#include <gtest/gtest.h>
#include "runtime/codepage.h"
TEST(Codepage, Placeholder) { SUCCEED(); }
