// png_writer_test.cpp — placeholder replaced below
#include <gtest/gtest.h>
