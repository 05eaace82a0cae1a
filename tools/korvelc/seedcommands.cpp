#include "seedcommands.h"

#include "seedtables.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel::seed {

namespace {

// --- Reports ---------------------------------------------------------------

// The length of the UTF-8 sequence at the start of `text`, or 0 when none
// starts there.
std::size_t sequenceLength(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    if (lead < 0x80)
        length = 1;
    else if (lead >= 0xC2 && lead < 0xE0)
        length = 2;
    else if (lead >= 0xE0 && lead < 0xF0)
        length = 3;
    else if (lead >= 0xF0 && lead < 0xF5)
        length = 4;
    if (length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

// Invalid UTF-8 becomes U+FFFD, line breaks become blanks.
void writeLine(std::string_view text)
{
    std::string line;
    line.reserve(text.size() + 1);
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const std::size_t length = sequenceLength(text.substr(at));
        if (length == 0) {
            line += "\xEF\xBF\xBD";
            ++at;
        } else if (length == 1 && (byte == '\r' || byte == '\n')) {
            line += ' ';
            ++at;
        } else {
            line.append(text.substr(at, length));
            at += length;
        }
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

void note(const std::string &file, std::string_view text)
{
    writeLine("korvelc: " + file + ": " + std::string(text));
}

int fail(const std::string &file, std::string_view text)
{
    note(file, text);
    return 1;
}

std::string systemError(int error = errno)
{
    return std::strerror(error);
}

// The non-blank lines of what the library wrote, without the blanks around
// them (ASCII ones and the Unicode spaces of the library's messages).
std::vector<std::string> linesOf(std::string_view text)
{
    auto spaceAt = [](std::string_view line, bool back) -> std::size_t {
        for (const std::string_view space : {" ", "\t", "\r", "\v", "\f", "\xC2\xA0", "\xE3\x80\x80"}) {
            if (back ? line.ends_with(space) : line.starts_with(space))
                return space.size();
        }
        return 0;
    };
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        while (std::size_t n = spaceAt(line, false))
            line.remove_prefix(n);
        while (std::size_t n = spaceAt(line, true))
            line.remove_suffix(n);
        if (!line.empty())
            lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

std::string withLibraryReasons(const std::string &reason, const std::vector<std::string> &printed,
                               const std::vector<std::string> &logged, const std::string &otherwise)
{
    std::vector<std::string> reasons;
    for (const auto *lines : {&printed, &logged}) {
        for (const std::string &line : *lines) {
            if (std::find(reasons.begin(), reasons.end(), line) == reasons.end())
                reasons.push_back(line);
        }
    }
    std::string text = reason + ": ";
    if (reasons.empty())
        return text + otherwise;
    for (std::size_t i = 0; i < reasons.size(); ++i)
        text += (i == 0 ? "" : "; ") + reasons[i];
    return text;
}

// --- Files -----------------------------------------------------------------

bool isFolder(const std::string &path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool sameFile(const std::string &first, const std::string &second)
{
    std::error_code error;
    return std::filesystem::equivalent(first, second, error) && !error;
}

std::string outputProblem(const std::string &path)
{
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        return std::string();
    if (S_ISDIR(info.st_mode))
        return "is a folder, not a file";
    // Renamed over, a device, pipe or socket would be replaced by a file.
    if (!S_ISREG(info.st_mode))
        return "is not a regular file (a device, pipe or socket)";
    if (::access(path.c_str(), W_OK) != 0)
        return "may not be written (it is read-only)";
    return std::string();
}

// The whole of an open file, in as few reads as its size allows.
bool readAll(int fd, std::string &bytes)
{
    struct stat info;
    bytes.clear();
    std::size_t want = ::fstat(fd, &info) == 0 && info.st_size > 0 ? static_cast<std::size_t>(info.st_size) + 1 : 4096;
    for (;;) {
        const std::size_t used = bytes.size();
        bytes.resize(used + want);
        const ssize_t got = ::read(fd, bytes.data() + used, want);
        if (got < 0) {
            if (errno == EINTR) {
                bytes.resize(used);
                continue;
            }
            return false;
        }
        bytes.resize(used + static_cast<std::size_t>(got));
        if (got == 0)
            return true;
        want = std::max<std::size_t>(want, 4096);
    }
}

bool readInput(const std::string &path, std::string &bytes, std::string &error)
{
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) {
        error = "no such file";
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error = "is a folder, not a file";
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = systemError();
        return false;
    }
    const bool read = readAll(fd, bytes);
    error = read ? std::string() : systemError();
    ::close(fd);
    return read;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string fileNameOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Replaces the file at `path` with `bytes` through a temporary file in its
// folder that takes its place only once complete; the new file keeps the
// old one's permissions, and a symbolic link is followed, not replaced.
bool replaceFile(const std::string &path, std::string_view bytes, std::string &error)
{
    std::string target = path;
    struct stat info;
    for (int depth = 0; depth < 40 && ::lstat(target.c_str(), &info) == 0 && S_ISLNK(info.st_mode); ++depth) {
        std::string link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096), '\0');
        const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
        if (length <= 0)
            break;
        link.resize(static_cast<std::size_t>(length));
        target = link.front() == '/' ? link : folderOf(target) + "/" + link;
    }
    const bool existed = ::stat(target.c_str(), &info) == 0;
    mode_t mode = 0;
    if (existed) {
        mode = info.st_mode & 0777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0600 | (0066 & ~mask);
    }
    std::string temporary = folderOf(target) + "/." + fileNameOf(target) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = systemError();
        return false;
    }
    const bool written = writeAll(fd, bytes) && ::fchmod(fd, mode) == 0;
    const int writeError = errno;
    if (::close(fd) != 0 || !written) {
        error = systemError(written ? errno : writeError);
        ::unlink(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        error = "cannot replace the file: " + systemError();
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

// --- The private folder ----------------------------------------------------

std::string environment(const char *name)
{
    const char *value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// The system's temporary folder: $TMPDIR, else /tmp.
std::string temporaryFolder()
{
    std::string folder = environment("TMPDIR");
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder.empty() ? std::string("/tmp") : folder;
}

// $TMPDIR when the user set it; else a folder held in memory when there is
// one; else the system's temporary folder.
std::string workspaceParent()
{
    if (!environment("TMPDIR").empty())
        return temporaryFolder();
    for (const std::string &folder : {environment("XDG_RUNTIME_DIR"), std::string("/dev/shm")}) {
        if (!folder.empty() && isFolder(folder) && ::access(folder.c_str(), W_OK) == 0)
            return folder;
    }
    return temporaryFolder();
}

// A folder removed with everything in it when the workspace goes. run()
// calls into the library with it as the current folder and standard output
// caught.
class Workspace
{
public:
    Workspace()
    {
        // The current folder is come back to through a handle, which needs
        // no permission to read it and still works if its path changes.
        m_caller = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (m_caller < 0) {
            m_error = systemError();
            return;
        }
        for (const std::string &parent : {workspaceParent(), temporaryFolder()}) {
            std::string folder = parent + "/korvelc-XXXXXX";
            if (::mkdtemp(folder.data()) != nullptr) {
                // Absolute, as it is left and removed from another folder.
                char *absolute = ::realpath(folder.c_str(), nullptr);
                m_folder = absolute != nullptr ? std::string(absolute) : folder;
                std::free(absolute);
                return;
            }
            m_error = systemError();
        }
    }
    ~Workspace()
    {
        if (m_caller >= 0)
            ::close(m_caller);
        if (!m_folder.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_folder, ignored);
        }
    }
    Workspace(const Workspace &) = delete;
    Workspace &operator=(const Workspace &) = delete;

    bool isValid() const { return !m_folder.empty(); }
    // False when a run could not come back to the caller's current folder.
    bool returned() const { return m_returned; }
    const std::string &errorString() const { return m_error; }
    std::string filePath(const std::string &name) const { return m_folder + "/" + name; }

    std::vector<std::string> run(const std::function<void()> &call)
    {
        std::fflush(stdout);
        // A file in memory, without a name.
        const int caught = ::memfd_create("korvelc-output", MFD_CLOEXEC);
        const int saved = ::dup(STDOUT_FILENO);
        const bool captured = caught >= 0 && saved >= 0 && ::dup2(caught, STDOUT_FILENO) >= 0;
        if (::chdir(m_folder.c_str()) == 0) {
            call();
            // Failing that, relative paths would now name files in the workspace.
            m_returned = ::fchdir(m_caller) == 0;
            if (!m_returned)
                m_error = systemError();
        }
        std::fflush(stdout);
        if (captured)
            ::dup2(saved, STDOUT_FILENO);
        if (saved >= 0)
            ::close(saved);
        std::string text;
        if (caught >= 0) {
            if (::lseek(caught, 0, SEEK_SET) == 0)
                readAll(caught, text);
            ::close(caught);
        }
        return linesOf(text);
    }

    std::vector<std::string> errorLog() const
    {
        std::string text;
        std::string error;
        return readInput(filePath("error.log"), text, error) ? linesOf(text) : std::vector<std::string>();
    }

private:
    int m_caller = -1;
    bool m_returned = true;
    std::string m_folder;
    std::string m_error;
};

// --- libkorvel ---------------------------------------------------------------

using Proc = int32_t(KORVEL_MIB_CALL *)(SAFEARRAY **, SAFEARRAY **, SAFEARRAY **, SAFEARRAY **, const char *);

std::string programFolder()
{
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0)
        return ".";
    path.resize(static_cast<std::size_t>(length));
    return folderOf(path);
}

// The export `name` of libkorvel, from the program's folder, the installed
// library folder or the system's library search; null when none loads.
Proc libraryProc(const char *name)
{
    const std::string folder = programFolder();
    for (const std::string &file : {folder + "/libkorvel.so", folder + "/" KORVEL_LIBRARY_FROM_BIN "/libkorvel.so",
                                    std::string("libkorvel.so")}) {
        if (void *library = ::dlopen(file.c_str(), RTLD_LAZY | RTLD_LOCAL))
            return reinterpret_cast<Proc>(::dlsym(library, name));
    }
    return nullptr;
}

// An array without records when `records` is null: its data pointer is
// valid, and the library reaches no element of it.
SAFEARRAY describe(void *records, std::size_t recordSize)
{
    static char none;
    SAFEARRAY array{};
    array.cDims = 1;
    array.fFeatures = 0x0012; // static, fixed size: the library neither frees nor resizes it
    array.cbElements = static_cast<uint32_t>(recordSize);
    array.pvData = records != nullptr ? records : &none;
    array.rgsabound[0].cElements = records != nullptr ? SlotCount : 0;
    array.rgsabound[0].lLbound = 0;
    return array;
}

// The export's result, or nothing when it cannot be loaded.
std::optional<int32_t> callLibrary(const char *name, RecordImage &image, const std::string &path)
{
    const Proc proc = libraryProc(name);
    if (proc == nullptr)
        return std::nullopt;
    SAFEARRAY tree = describe(image.tree, sizeof(::MibTree));
    SAFEARRAY attribute = describe(image.attribute, sizeof(::MibAttribute));
    SAFEARRAY range = describe(image.range, sizeof(::MibRange));
    SAFEARRAY list = describe(image.list, sizeof(::MibList));
    SAFEARRAY *t = &tree;
    SAFEARRAY *a = &attribute;
    SAFEARRAY *r = &range;
    SAFEARRAY *l = &list;
    return proc(&t, &a, &r, &l, path.c_str());
}

constexpr std::string_view Unavailable = "libkorvel or its export could not be loaded";

} // namespace

int runMib(const std::string &design, const std::string &module)
{
    if (sameFile(design, module))
        return fail(module, "is the input file; the module must go to another file");
    if (const std::string problem = outputProblem(module); !problem.empty())
        return fail(module, problem);
    std::string text;
    std::string error;
    if (!readInput(design, text, error))
        return fail(design, error);
    if (!hasDesignSection(text))
        return fail(design, "is not a Korvel design file (no <MibTree> or other section)");
    auto tables = std::make_unique<Tables>();
    if (!readDesign(text, *tables, error))
        return fail(design, error);
    for (const std::string &line : omittedObjects(*tables))
        note(design, line);

    Workspace workspace;
    if (!workspace.isValid())
        return fail(module, "no private temporary folder: " + workspace.errorString());
    const std::string name = fileNameOf(module);
    std::optional<int32_t> result;
    const std::vector<std::string> printed = workspace.run([&] {
        RecordImage image;
        buildImage(*tables, image);
        result = callLibrary("MIBCreateProc", image, name);
    });
    if (!workspace.returned())
        return fail(module, "cannot return to the current folder: " + workspace.errorString());
    if (!result)
        return fail(module, Unavailable);
    if (*result != 0)
        return fail(module, withLibraryReasons("the MIB module could not be written", printed, {},
                                               "an object lacks a record it needs"));
    for (const std::string &line : printed)
        note(module, line);
    std::string written;
    if (!readInput(workspace.filePath(name), written, error))
        return fail(module, "the module written cannot be read back: " + error);
    if (!replaceFile(module, written, error))
        return fail(module, error);
    return 0;
}

int runMdf(const std::string &module, const std::string &design, bool allowEmpty)
{
    if (sameFile(module, design))
        return fail(design, "is the input file; the design must go to another file");
    if (const std::string problem = outputProblem(design); !problem.empty())
        return fail(design, problem);
    std::string text;
    std::string error;
    if (!readInput(module, text, error))
        return fail(module, error);

    Workspace workspace;
    if (!workspace.isValid())
        return fail(module, "no private temporary folder: " + workspace.errorString());
    // The copy keeps the module's name, so that what the library says names
    // it, unless that is the name of the library's log.
    std::string copy = fileNameOf(module);
    if (copy == "error.log")
        copy += ".mib";
    const int fd = ::open(workspace.filePath(copy).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const bool copied = fd >= 0 && writeAll(fd, text);
    const std::string copyError = systemError();
    if (fd >= 0)
        ::close(fd);
    if (!copied)
        return fail(module, "cannot be copied to a temporary folder: " + copyError);

    RecordImage image(false);
    std::optional<int32_t> result;
    const std::vector<std::string> printed = workspace.run([&] {
        // Whatever error.log holds afterwards was written by this read.
        std::remove("error.log");
        result = callLibrary("MIBAnalysisProc", image, copy);
    });
    if (!workspace.returned())
        return fail(module, "cannot return to the current folder: " + workspace.errorString());
    if (!result)
        return fail(module, Unavailable);
    if (*result != 0)
        return fail(module, withLibraryReasons("the MIB module could not be read", printed, workspace.errorLog(),
                                               "most likely a quoted text that is never closed"));
    for (const std::string &line : printed)
        note(module, line);
    if (objectCount(image) == 0 && !allowEmpty)
        return fail(module, "no object found (--allow-empty writes an empty design)");
    if (!replaceFile(design, designImage(image), error))
        return fail(design, error);
    return 0;
}

} // namespace korvel::seed
