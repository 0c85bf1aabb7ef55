// harmony_test.cpp — placeholder
#include <gtest/gtest.h>
