// The main window's behaviour tests on the in-memory backend.
#include "tests/ui/main_window_behaviour_test.h"
#include "tests/ui/memory_window_driver.h"

INSTANTIATE_TEST_SUITE_P(Memory, MainWindowOnEveryBackend,
                         testing::Values(WindowBackendCase{
                             "memory",
                             [](uint16_t language) -> std::unique_ptr<WindowDriver> {
                                 return std::make_unique<MemoryWindowDriver>(language);
                             }}),
                         BackendCaseName);
