// NMEA text: the sentence splitter of a record's text block, the sentence
// parser, and every sentence operation on the input's own field list.
#include "telemetry/ORVBlackBoxData.h"
#include "telemetry/ORVNMEASentenceParser.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string_view> fieldsOf(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) {
            fields.push_back(text.substr(start));
            return fields;
        }
        fields.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The block is modified in place, so it gets its own exact-size copy.
    std::vector<std::uint8_t> block(data, data + size);
    zentrova::ORVBlackBoxData telemetry;
    telemetry.ParseNMEA(block.empty() ? nullptr : block.data(), static_cast<std::uint32_t>(block.size()));

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    zentrova::ORVNMEASentenceParser parser;
    parser.parse(text);

    const std::vector<std::string_view> fields = fieldsOf(text);
    parser.parseGPRMC(fields);
    parser.parseGPGGA(fields);
    parser.parseGNGSA(fields);
    parser.parseGNGNS(fields);
    parser.parseGPGSV(fields);
    return 0;
}
