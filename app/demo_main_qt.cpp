// Entry point of the native demo: the Qt backend in the user's language and the demo's two
// simulated drives (app/demo_program.h). It has no desktop entry of its own.
#include "app/demo_program.h"
#include "dialog/qt/qt_program.h"
#include "res/generated_resource_catalog.h"

int main(int /*argc*/, char** argv) {
    return RunQtProgram(argv[0], nullptr, GeneratedResourceCatalog(), RunDemo);
}
