#include "setup/win/elevation.h"

#include "win/platform/unique_resource.h"

namespace talvo::setup::win {
namespace {

using talvo::win::unique_handle;

Elevation token_elevation(HANDLE process) {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &raw)) {
        return Elevation::Unknown;
    }
    const unique_handle token(raw);
    TOKEN_ELEVATION_TYPE type{};
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenElevationType, &type, sizeof type, &size)) {
        return Elevation::Unknown;
    }
    switch (type) {
        case TokenElevationTypeDefault:
            return Elevation::Default;
        case TokenElevationTypeFull:
            return Elevation::Full;
        case TokenElevationTypeLimited:
            return Elevation::Limited;
    }
    return Elevation::Unknown;
}

}  // namespace

Elevation own_elevation() {
    return token_elevation(GetCurrentProcess());
}

Elevation process_elevation(DWORD process_id) {
    const unique_handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
    return process ? token_elevation(process.get()) : Elevation::Unknown;
}

}  // namespace talvo::setup::win
