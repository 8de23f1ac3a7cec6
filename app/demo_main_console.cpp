// The native demo of the build without a GUI (DRIVE_UTILITY_GUI=memory): the main window runs
// on the in-memory backend and is printed as text. The language follows the user's locale, as
// the Windows program's resources do: Japanese for ja*, English otherwise.
#include <iostream>

#include "app/demo_console.h"
#include "dialog/user_language.h"

int main() {
    return RunConsoleDemo(UserLanguageFromLocale(), std::cout);
}
