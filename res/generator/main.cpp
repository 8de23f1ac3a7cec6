// Build-time tool: reads the resource scripts (and the id header) and writes the C++ tables of
// the resource catalog, so the backends without Win32 resources see the very same texts.
//
// usage: catalog_generator OUTPUT.cpp IDS.h SCRIPT.rc...
#include <fstream>
#include <iostream>
#include <sstream>

#include "res/generator/catalog_writer.h"
#include "res/generator/rc_script.h"

namespace {

bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

int Fail(const std::string& message) {
    std::cerr << "catalog_generator: " << message << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        return Fail("usage: catalog_generator OUTPUT.cpp IDS.h SCRIPT.rc...");
    }
    RcSymbols symbols = BuiltInRcSymbols();
    std::string text, error;
    if (!ReadFile(argv[2], text)) {
        return Fail(std::string("cannot read ") + argv[2]);
    }
    if (!ReadRcDefines(text, argv[2], symbols, error)) {
        return Fail(error);
    }
    RcScript script;
    for (int i = 3; i < argc; ++i) {
        if (!ReadFile(argv[i], text)) {
            return Fail(std::string("cannot read ") + argv[i]);
        }
        if (!ParseRcScript(text, argv[i], symbols, script, error)) {
            return Fail(error);
        }
    }
    std::ostringstream source;
    if (!WriteCatalogSource(script, source, error)) {
        return Fail(error);
    }
    // Written only when complete, so a failed run leaves no half file for the build to use.
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << source.str();
    if (!out.flush()) {
        return Fail(std::string("cannot write ") + argv[1]);
    }
    return 0;
}
