#include "road/landxml/road_design_io.h"

#include "model/filebytes.h"

namespace telvane::road::landxml {

DesignLoad load_design(RoadData& data, const std::string& path, std::string_view name) {
    DesignLoad out;
    const std::optional<std::string> bytes = read_file_bytes(path, &out.ReadError);
    if (!bytes) {
        out.Error = {"file_read_error", path};
        return out;
    }
    auto read = read_alignment(*bytes, name);
    if (!read) {
        out.Error = read.Error;
        if (read.Error.Key == keys::SeveralAlignments) {
            if (const auto doc = read_document(*bytes)) {
                for (const AlignmentSummary& a : doc.Value->Alignments)
                    out.Choices.push_back(a.Name);
            }
        }
        return out;
    }
    data.LoadDesign(read.Value->Elements, read.Value->Profile, read.Value->Name,
                    read.Value->Stations);
    out.Design = std::move(read.Value);
    return out;
}

Stationing plain_stations(const RoadData& data) {
    Stationing s;
    if (!data.Engine.PlaneElements().empty())
        s.Start = data.Engine.PlaneElements().front().Mileage;
    return s;
}

std::optional<LandXmlError> save_design(const RoadData& data, const std::string& path,
                                        bool withStakes, double offset, std::string* ioError) {
    if (!data.EngineReady() || data.Engine.PlaneElements().size() < 2)
        return LandXmlError{keys::NoAlignment, data.DesignName()};
    DesignToWrite design;
    design.Name = data.DesignName().empty() ? "Road" : data.DesignName();
    design.Elements = data.Engine.PlaneElements();
    design.Stations = data.Stations().value_or(plain_stations(data));
    design.Profile = data.GradePoints();
    if (withStakes) {
        for (const Pile& s : data.Stakes()) {
            Pile p = s;
            if (data.CalculateStake(p, offset))
                design.Stakes.push_back(p);
        }
    }
    const auto text = write_design(design);
    if (!text)
        return text.Error;
    if (!write_file_atomic(path, *text.Value, ioError))
        return LandXmlError{"Failure", path}; // savebtn, the file name and Failure
    return std::nullopt;
}

} // namespace telvane::road::landxml
