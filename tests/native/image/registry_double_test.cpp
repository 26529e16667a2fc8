#include <gtest/gtest.h>

#include "platform/image/registry_double.h"

TEST(RegistryDouble, Placeholder) { SUCCEED(); }
