#include <gtest/gtest.h>

#include "engine/WP_variables.h"

TEST(Zustand, Platzhalter) { EXPECT_EQ(zustand::numchar().size(), 39u); }
