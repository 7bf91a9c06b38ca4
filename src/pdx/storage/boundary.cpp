#include "pdx/storage/boundary.h"

namespace pdx {

Error systemError(const os::Error& error) {
    const auto kind = [&] {
        switch (error.kind()) {
        case os::ErrorKind::NotFound: return Error::Kind::NotFound;
        case os::ErrorKind::Busy: return Error::Kind::Busy;
        case os::ErrorKind::AccessDenied: return Error::Kind::AccessDenied;
        case os::ErrorKind::NoSpace: return Error::Kind::NoSpace;
        case os::ErrorKind::Other: break;
        }
        return Error::Kind::Io;
    }();
    return Error(kind, error.path(), error.reason());
}

}  // namespace pdx
