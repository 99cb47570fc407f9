#include "playback/linux/CupsPrintSystem.h"

#include <cups/cups.h>

#include <fstream>
#include <memory>

namespace zentrova {
namespace {

// How long a printer's server may take to answer before it counts as gone.
constexpr int kConnectTimeoutMs = 5000;

struct DestDeleter {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
using Dest = std::unique_ptr<cups_dest_t, DestDeleter>;

struct InfoDeleter {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};
using Info = std::unique_ptr<cups_dinfo_t, InfoDeleter>;

struct HttpDeleter {
    void operator()(http_t* http) const { httpClose(http); }
};
using Http = std::unique_ptr<http_t, HttpDeleter>;

struct OptionList {
    int count = 0;
    cups_option_t* options = nullptr;
    OptionList(const OptionList&) = delete;
    OptionList& operator=(const OptionList&) = delete;
    explicit OptionList(const PrintSystem::Options& from) {
        for (const auto& [name, value] : from) count = cupsAddOption(name.c_str(), value.c_str(), count, &options);
    }
    ~OptionList() { cupsFreeOptions(count, options); }
};

// An error code that is never 0, also when the library has none to tell.
int lastErrorOr(ipp_status_t fallback) {
    const ipp_status_t error = cupsLastError();
    return static_cast<int>(error == IPP_STATUS_OK ? fallback : error);
}

Dest namedDest(const std::string& name) { return Dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), nullptr)); }

// The connection to the printer's server and what the printer supports.
struct Connection {
    Http http;
    Info info;
};

Connection connect(cups_dest_t* dest) {
    Connection connection;
    connection.http.reset(
        cupsConnectDest(dest, CUPS_DEST_FLAGS_NONE, kConnectTimeoutMs, nullptr, nullptr, 0, nullptr, nullptr));
    if (connection.http) connection.info.reset(cupsCopyDestInfo(connection.http.get(), dest));
    return connection;
}

int sendFile(const Connection& connection, cups_dest_t* dest, int job, const std::string& path,
             const std::string& format) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return static_cast<int>(IPP_STATUS_ERROR_DOCUMENT_ACCESS);
    http_t* http = connection.http.get();
    cups_dinfo_t* info = connection.info.get();
    if (cupsStartDestDocument(http, dest, info, job, "frame", format.c_str(), 0, nullptr, 1) != HTTP_STATUS_CONTINUE) {
        return lastErrorOr(IPP_STATUS_ERROR_INTERNAL);
    }
    char buffer[64 * 1024];
    bool written = true;
    while (written && file) {
        file.read(buffer, sizeof buffer);
        const std::streamsize got = file.gcount();
        if (got > 0) written = cupsWriteRequestData(http, buffer, static_cast<size_t>(got)) == HTTP_STATUS_CONTINUE;
    }
    const ipp_status_t finished = cupsFinishDestDocument(http, dest, info);
    if (!written || file.bad()) return lastErrorOr(IPP_STATUS_ERROR_INTERNAL);
    return finished <= IPP_STATUS_OK_EVENTS_COMPLETE ? 0 : static_cast<int>(finished);
}

}  // namespace

int CupsPrintSystem::findPrinter(const std::string& name) {
    const Dest dest = namedDest(name);
    return dest ? 0 : lastErrorOr(IPP_STATUS_ERROR_NOT_FOUND);
}

std::optional<std::vector<std::string>> CupsPrintSystem::acceptedFormats(const std::string& name) {
    const Dest dest = namedDest(name);
    if (!dest) return std::nullopt;
    const Connection connection = connect(dest.get());
    if (!connection.info) return std::nullopt;
    ipp_attribute_t* formats =
        cupsFindDestSupported(connection.http.get(), dest.get(), connection.info.get(), "document-format");
    if (!formats) return std::nullopt;
    std::vector<std::string> accepted;
    for (int i = 0; i < ippGetCount(formats); ++i) {
        if (const char* format = ippGetString(formats, i, nullptr)) accepted.emplace_back(format);
    }
    return accepted;
}

int CupsPrintSystem::printFile(const std::string& name, const std::string& path, const std::string& format,
                               const Options& options) {
    const Dest dest = namedDest(name);
    if (!dest) return lastErrorOr(IPP_STATUS_ERROR_NOT_FOUND);
    const Connection connection = connect(dest.get());
    if (!connection.info) return lastErrorOr(IPP_STATUS_ERROR_SERVICE_UNAVAILABLE);
    const OptionList list(options);
    int job = 0;
    const ipp_status_t created = cupsCreateDestJob(connection.http.get(), dest.get(), connection.info.get(), &job,
                                                   "zentrova_capture", list.count, list.options);
    if (created > IPP_STATUS_OK_EVENTS_COMPLETE || job <= 0) return lastErrorOr(IPP_STATUS_ERROR_INTERNAL);
    return sendFile(connection, dest.get(), job, path, format);
}

}  // namespace zentrova
