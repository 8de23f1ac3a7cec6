// The main window's behaviour tests on the Qt backend.
#include "tests/qt/qt_window_driver.h"
#include "tests/ui/main_window_behaviour_test.h"

INSTANTIATE_TEST_SUITE_P(Qt, MainWindowOnEveryBackend,
                         testing::Values(WindowBackendCase{
                             "qt",
                             [](uint16_t language) -> std::unique_ptr<WindowDriver> {
                                 return std::make_unique<QtWindowDriver>(language);
                             }}),
                         BackendCaseName);
