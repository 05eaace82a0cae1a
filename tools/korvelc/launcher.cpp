// korvelc's program: plain C++, with no library but the standard one loaded
// at start. `korvelc mib DESIGN.mdf OUT.mib` and `korvelc mdf
// [--allow-empty] IN.mib OUT.mdf`, the conversions a build runs again and
// again, run here (seedcommands.h). Every other command line (the other
// commands and options, --help, --version and every mistake) goes to the
// commands module with Qt and libsmi (commandline.cpp), loaded from the
// program's folder or the installed library folder.
#include "seedcommands.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <dlfcn.h>
#include <unistd.h>

namespace {

std::string programFolder()
{
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0)
        return ".";
    path.resize(static_cast<std::size_t>(length));
    return path.substr(0, path.rfind('/'));
}

int runCommandsModule(int argc, char *argv[])
{
    const std::string folder = programFolder();
    std::string problem;
    for (const std::string &file :
         {folder + "/" KORVELC_MODULE, folder + "/" KORVEL_LIBRARY_FROM_BIN "/" KORVELC_MODULE}) {
        void *module = ::dlopen(file.c_str(), RTLD_LAZY | RTLD_LOCAL);
        if (module == nullptr) {
            if (problem.empty())
                problem = ::dlerror();
            continue;
        }
        using Entry = int (*)(int, char **);
        if (const auto entry = reinterpret_cast<Entry>(::dlsym(module, "korvelcCommandLine")))
            return entry(argc, argv);
        problem = ::dlerror();
    }
    std::fprintf(stderr, "korvelc: %s cannot be loaded: %s\n", KORVELC_MODULE, problem.c_str());
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // The seed commands' own command lines: two files and, for mdf, only
    // --allow-empty. An argument starting with "--" is an option.
    const std::vector<std::string_view> arguments(argv + std::min(argc, 1), argv + argc);
    if (!arguments.empty() && (arguments[0] == "mib" || arguments[0] == "mdf")) {
        const bool mdf = arguments[0] == "mdf";
        std::vector<std::string> files;
        bool allowEmpty = false;
        bool seed = true;
        for (std::size_t i = 1; i < arguments.size(); ++i) {
            if (!arguments[i].starts_with("--"))
                files.emplace_back(arguments[i]);
            else if (mdf && arguments[i] == "--allow-empty")
                allowEmpty = true;
            else
                seed = false;
        }
        if (seed && files.size() == 2)
            return mdf ? korvel::seed::runMdf(files[0], files[1], allowEmpty) : korvel::seed::runMib(files[0], files[1]);
    }
    return runCommandsModule(argc, argv);
}
