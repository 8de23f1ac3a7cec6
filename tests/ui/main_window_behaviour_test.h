// The main window's behaviour tests, parametrised over the backend: a test executable runs them
// on its backend with INSTANTIATE_TEST_SUITE_P(Name, MainWindowOnEveryBackend, ...).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/ui/driven_main_window_rig.h"

class MainWindowOnEveryBackend : public testing::TestWithParam<WindowBackendCase> {};

inline std::string BackendCaseName(const testing::TestParamInfo<WindowBackendCase>& info) {
    return info.param.name;
}
