// One toolkit application for the whole test program, made before the first
// test and taken down before the program's statics go.
#include "platform/Application.h"

#include <gtest/gtest.h>

namespace {

class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(EnsureGuiApplication()); }
    void TearDown() override { ShutdownApplication(); }
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace
