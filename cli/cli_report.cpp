#include "cli/cli_report.h"

#include <utility>

#include "cli/exit_codes.h"

void CliReport::Fail(int code, std::vector<int> textIds, std::vector<MessageArgument> args) {
    Add(Severity::kError, std::move(textIds), std::move(args));
    exitCode = CombineExitCodes(exitCode, code);
}
