#include "open_input.h"

#include <cstring>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kaleno {

Input openInput(const std::string &file, const RunOptions &options)
{
    Input input;
    if (file == "-") {
        input.name = "<stdin>";
        input.descriptor = STDIN_FILENO;
        if (options.standardInputClosed)
            input.error = "cannot read the grids: standard input is closed";
        return input;
    }
    input.name = file;
    input.descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status
    {
    };
    if (input.descriptor < 0) {
        input.error = "cannot read " + file + ": " + std::strerror(errno);
    } else if (::fstat(input.descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
        input.error = "cannot read " + file + ": it is a directory";
        ::close(input.descriptor);
        input.descriptor = -1;
    }
    return input;
}

} // namespace kaleno
