#include "records.h"

namespace telvane {

int record_kind(std::string_view keyword) {
    if (keyword == "STA")
        return kKindSTA;
    if (keyword == "BS")
        return kKindBS;
    if (keyword == "BKB")
        return kKindBKB;
    if (keyword == "SA")
        return kKindSA;
    if (keyword == "SD")
        return kKindSD;
    if (keyword == "SC")
        return kKindSC;
    if (keyword == "NOTE")
        return kKindNOTE;
    return kKindNone;
}

std::string_view output_name(const NameField& name) {
    return name.empty() ? kNoName : name.view();
}

NameField input_name(std::string_view text) {
    return NameField(text.empty() ? kNoName : text);
}

void append_job_points(const std::vector<record_item>& records, std::vector<coord_item>& points) {
    for (const record_item& r : records) {
        if (const auto* sta = std::get_if<sta_data>(&r.data)) {
            points.push_back({sta->name, sta->code, sta->north, sta->east, sta->elev});
        } else if (const auto* bs = std::get_if<bs_data>(&r.data)) {
            if (bs->has_bss == 1)
                points.push_back(
                    {bs->name, NameField(), bs->bss_north, bs->bss_east, bs->bss_elev});
        } else if (const auto* sc = std::get_if<sc_data>(&r.data)) {
            points.push_back({sc->name, sc->code, sc->north, sc->east, sc->elev});
        }
    }
}

} // namespace telvane
