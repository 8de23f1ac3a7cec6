// One line of text per command a simulated drive answered, for the trace files that tests read
// across a process boundary:
//   cdb=<hex of the declared length> len=<declared> dir=in|out|none xfer=<transfer length>
//   timeout=<seconds> status=<hex> sense=<KK/AA/QQ> [in=<reply bytes>] [out=<data-out hex>]
// Hex is upper case without separators; in= is given for data-in commands, out= for data-out.
#pragma once

#include <string>

#include "sim/simulated_drive.h"

std::string FormatTraceLine(const ReceivedCommand& command);
