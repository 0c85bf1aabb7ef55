// output_test.cpp — placeholder
#include <gtest/gtest.h>
