#include "design_fixtures.h"
#include "tempdir.h"

#include "road/design/road_design.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace telvane::road {
namespace {

using telvane::testing::TempDir;
using testing::El;

RoadColumnTitles KeyTitles() {
    return RoadColumnTitles::FromTexts([](std::string_view key) { return std::string(key); });
}

IntersectionPointInfo Point(std::string name, double N, double E, double K, double R, double Ls1,
                            double Ls2) {
    IntersectionPointInfo p;
    p.Name = std::move(name);
    p.North = N;
    p.East = E;
    p.Mileage = K;
    p.Radius = R;
    p.ClothoidLength1 = Ls1;
    p.ClothoidLength2 = Ls2;
    return p;
}

TEST(RoadFiles, EachListHasItsExtensionAndFileFilter) {
    struct Case {
        RoadList list;
        std::string_view extension, filter;
    };
    for (const Case& c : {Case{RoadList::Intersections, ".PHI", "OPEN_PHI_FILTER"},
                          Case{RoadList::Elements, ".SEC", "OPEN_SEC_FILTER"},
                          Case{RoadList::Profile, ".PVI", "OPEN_PVI_FILTER"},
                          Case{RoadList::Stakes, ".csv", "OPEN_PILE_FILTER"}}) {
        EXPECT_EQ(DefaultExtension(c.list), c.extension);
        EXPECT_EQ(FileFilterKey(c.list), c.filter);
    }
}

TEST(RoadFiles, HeaderLinesCarryTheColumnTitles) {
    const RoadColumnTitles t = KeyTitles();
    EXPECT_EQ(IntersectionHeader(t),
              (TableRow{"JD_CODE", "strgrid_N", "strgrid_E", "Mileage", "Radius", "ClothoidLength1",
                        "ClothoidLength2", "Direction", "DeflectionAngle", "TangentLength1",
                        "TangentLength2", "CurveLength", "ExternalLength", "strgrid_ZH",
                        "strgrid_HY", "strgrid_YH", "strgrid_HZ"}));
    EXPECT_EQ(ElementHeader(t),
              (TableRow{"LineType", "strgrid_StartRadius", "strgrid_EndRadius", "strgrid_Length",
                        "Direction", "strgrid_N", "strgrid_E", "Mileage", "AzimuthAngle"}));
    EXPECT_EQ(GradePointHeader(t),
              (TableRow{"Mileage", "Height", "Slope_i1", "Slope_i2", "Radius"}));
    EXPECT_EQ(
        StakeHeader(t),
        (TableRow{"Mileage", "MiddlePilestrgrid_N", "MiddlePilestrgrid_E", "MiddlePilestrgrid_Z",
                  "LeftPilestrgrid_N", "LeftPilestrgrid_E", "LeftPilestrgrid_Z",
                  "RightPilestrgrid_N", "RightPilestrgrid_E", "RightPilestrgrid_Z"}));
}

TEST(RoadFiles, FilesAreTheTablesRowByRow) {
    // Byte for byte: the general number format, no blanks, CR LF after every line.
    std::vector<LongSlopesInfo> grades(2);
    grades[0] = {100, 0, 50.25, 0, 0, 12};
    grades[1] = {1e-6, 1, 123456789012.5, 3000, -8, 0.1};
    EXPECT_EQ(*GradePointFileText(grades, KeyTitles()),
              "Mileage,Height,Slope_i1,Slope_i2,Radius\r\n"
              "100,50.25,0,12,0\r\n"
              "1E-6,123456789012.5,-8,0.1,3000\r\n");

    std::vector<PlaneInfo> elements = {El('L', 0, 0, 120.5, "", 3000, 500),
                                       El('A', -250, -250, 80, "L", 3100.25, 480)};
    elements[0].Mileage = 100;
    elements[0].AzimuthAngle = 1.5;
    elements[1].Mileage = 220.5;
    elements[1].AzimuthAngle = 6.2;
    EXPECT_EQ(*ElementFileText(elements, KeyTitles()),
              "X0 ,Y0 ,S0 ,Azi0 \r\n"
              "3000.000000000000000,500.000000000000000,100.000000000000000,1.500000000000000\r\n"
              "LineType,strgrid_StartRadius,strgrid_EndRadius,strgrid_Length,Direction,"
              "strgrid_N,strgrid_E,Mileage,AzimuthAngle\r\n"
              "L,0,0,120.5,,3000,500,100,1.5\r\n"
              "A,-250,-250,80,L,3100.25,480,220.5,6.2\r\n");
    EXPECT_EQ(SecStartLine(elements[0]),
              "3000.000000000000000,500.000000000000000,100.000000000000000,1.500000000000000");

    // An empty list is not written.
    EXPECT_FALSE(IntersectionFileText({}, KeyTitles()));
    EXPECT_FALSE(ElementFileText({}, KeyTitles()));
    EXPECT_FALSE(GradePointFileText({}, KeyTitles()));
    EXPECT_FALSE(StakeFileText({}, KeyTitles()));
}

TEST(RoadFiles, EachFormatSavedAndLoadedGivesTheSameData) {
    TempDir dir;
    RoadData saved;
    EditRoadState(saved).InputMode = RoadList::Intersections;
    EditRoadState(saved).IntersectionPoints = {Point("JD0", 3000.125, 500.5, 100.75, 0, 0, 0),
                                               Point("JD1", 3512.3456789, 700.25, 0, 300, 40, 55.5),
                                               Point("\xbd\xbb\xb5\xe3"
                                                     "2",
                                                     4020.5, 512.875, 0, 250.5, 30, 30),
                                               Point("JD3", 4600, 800, 0, 0, 0, 0)};
    EditRoadState(saved).GradePoints = {
        {100, 0, 20.5, 0, 0, 12}, {900, 1, 30.1, 4000, 12, -7.5}, {1500, 0, 25.6, -1, -7.5, 0}};
    EditRoadState(saved).Stakes = {Pile{100}, Pile{150.25}, Pile{1e-5}, Pile{1234.5678}};
    // Calculating fills the computed columns and the element chain.
    ASSERT_EQ(saved.Calculate({"100.75", "", "", "", "3.5"}).Status, CalculationStatus::Done);
    const RoadColumnTitles titles = KeyTitles();

    RoadData loaded;
    for (RoadList page : {RoadList::Intersections, RoadList::Profile, RoadList::Stakes}) {
        const std::string path = dir.file(std::string("road") + DefaultExtension(page));
        ASSERT_EQ(saved.Save(page, path, titles), SaveStatus::Saved);
        EXPECT_EQ(TempDir::read(path), *saved.FileText(page, titles));
        const LoadOutcome o = loaded.Load(page, path);
        EXPECT_TRUE(o.Read);
        EXPECT_EQ(o.WrongFormat, 0);
    }
    ASSERT_EQ(EditRoadState(loaded).IntersectionPoints.size(),
              EditRoadState(saved).IntersectionPoints.size());
    for (std::size_t k = 0; k < EditRoadState(saved).IntersectionPoints.size(); ++k) {
        const IntersectionPointInfo& a = EditRoadState(saved).IntersectionPoints[k];
        const IntersectionPointInfo& b = EditRoadState(loaded).IntersectionPoints[k];
        EXPECT_EQ(b.Name, a.Name);
        EXPECT_EQ(b.North, a.North);
        EXPECT_EQ(b.East, a.East);
        EXPECT_EQ(b.Radius, a.Radius);
        EXPECT_EQ(b.ClothoidLength1, a.ClothoidLength1);
        EXPECT_EQ(b.ClothoidLength2, a.ClothoidLength2);
        // The chainage column is read back as written (15 significant digits); the results are
        // not read.
        EXPECT_NEAR(b.Mileage, a.Mileage, 1e-9);
        EXPECT_EQ(b.Direction, "");
        EXPECT_EQ(b.DeflectionAngle, 0);
        EXPECT_EQ(b.TangentLength1, 0);
        EXPECT_EQ(b.HZ, 0);
    }
    EXPECT_EQ(EditRoadState(saved).IntersectionPoints[1].Direction,
              "L"); // what was written was computed
    ASSERT_EQ(EditRoadState(loaded).GradePoints.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        const LongSlopesInfo& a = EditRoadState(saved).GradePoints[k];
        const LongSlopesInfo& b = EditRoadState(loaded).GradePoints[k];
        EXPECT_EQ(b.Mileage, a.Mileage);
        EXPECT_EQ(b.Height, a.Height);
        EXPECT_EQ(b.Slope1, a.Slope1);
        EXPECT_EQ(b.Slope2, a.Slope2);
        EXPECT_EQ(b.Radius, a.Radius);
        EXPECT_EQ(b.CurveFlag, k == 1 ? 1 : 0); // radius 0 and -1: no vertical curve
    }
    ASSERT_EQ(EditRoadState(loaded).Stakes.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(EditRoadState(loaded).Stakes[k].Mileage, EditRoadState(saved).Stakes[k].Mileage);
        EXPECT_EQ(EditRoadState(loaded).Stakes[k].MiddleN, 0);
    }

    // The element chain the intersection points gave, through a ".SEC" file.
    const std::string secPath = dir.file("road.SEC");
    ASSERT_EQ(saved.Save(RoadList::Elements, secPath, titles), SaveStatus::Saved);
    const LoadOutcome o = loaded.Load(RoadList::Elements, secPath);
    EXPECT_EQ(o.WrongFormat, 0);
    const std::vector<PlaneInfo>& a = EditRoadState(saved).PlaneElements;
    const std::vector<PlaneInfo>& b = EditRoadState(loaded).PlaneElements;
    ASSERT_EQ(b.size(), a.size());
    for (std::size_t k = 0; k < a.size(); ++k) {
        EXPECT_EQ(b[k].LineType, a[k].LineType) << k;
        EXPECT_EQ(b[k].Direction, a[k].Direction) << k;
        EXPECT_NEAR(b[k].StartRadius, a[k].StartRadius, 1e-12 * std::fabs(a[k].StartRadius));
        EXPECT_NEAR(b[k].EndRadius, a[k].EndRadius, 1e-12 * std::fabs(a[k].EndRadius));
        EXPECT_NEAR(b[k].Length, a[k].Length, 1e-11);
        EXPECT_NEAR(b[k].North, a[k].North, 1e-10);
        EXPECT_NEAR(b[k].East, a[k].East, 1e-10);
        EXPECT_EQ(b[k].Role, 0);
        if (k > 0) {
            EXPECT_EQ(b[k].Mileage, 0);
            EXPECT_EQ(b[k].AzimuthAngle, 0);
        }
    }
    // The first element's point, chainage and azimuth come from the start line, to 15 decimals.
    EXPECT_NEAR(b[0].Mileage, 100.75, 1e-15);
    EXPECT_NEAR(b[0].North, 3000.125, 1e-12);
    EXPECT_NEAR(b[0].AzimuthAngle, a[0].AzimuthAngle, 1e-15);
    ASSERT_TRUE(o.Boxes);
    EXPECT_EQ(o.Boxes->Chainage, "100.750000");
    EXPECT_EQ(o.Boxes->North, "3000.125000000000000");
    EXPECT_EQ(o.Boxes->East, "500.500000000000000");
}

TEST(RoadFiles, IntersectionLinesShortEmptyAndUnreadable) {
    const IntersectionFileData d = ReadIntersectionFile("name,N,E\r\n"
                                                        "JD0,100,200,10,50,5,6,R,1,2\r\n"
                                                        "JD1 , 300 , 400\n"
                                                        "JD2,,,7\r"
                                                        "   \r\n"
                                                        "JD3\r\n"
                                                        ",1,2\r\n"
                                                        "JD5,1e3,x\r\n"
                                                        "JD6,1,2\r\n");
    EXPECT_EQ(d.WrongFormat, 1);
    ASSERT_EQ(d.Points.size(), 5u);
    struct Expected {
        const char* name;
        double N, E, K, R, Ls1, Ls2;
    } expected[] = {
        {"JD0", 100, 200, 10, 50, 5, 6},
        {"JD1", 300, 400, 10, 50, 5, 6}, // a short line keeps the values of the line before
        {"JD2", 0, 0, 7, 50, 5, 6},      // empty fields are 0
        {"", 0, 0, 7, 50, 5, 6},         // not split: no name, every value kept
        {"", 0, 0, 7, 50, 5, 6},         // no first field: the same
    };
    for (std::size_t k = 0; k < 5; ++k) {
        const IntersectionPointInfo& p = d.Points[k];
        const Expected& x = expected[k];
        EXPECT_EQ(p.Name, x.name) << k;
        EXPECT_EQ(p.North, x.N) << k;
        EXPECT_EQ(p.East, x.E) << k;
        EXPECT_EQ(p.Mileage, x.K) << k;
        EXPECT_EQ(p.Radius, x.R) << k;
        EXPECT_EQ(p.ClothoidLength1, x.Ls1) << k;
        EXPECT_EQ(p.ClothoidLength2, x.Ls2) << k;
        EXPECT_EQ(p.Direction, "") << k;
        EXPECT_EQ(p.DeflectionAngle, 0) << k;
    }
    ASSERT_TRUE(d.Boxes);
    EXPECT_EQ(d.Boxes->Chainage, "10.000000");
    EXPECT_EQ(d.Boxes->North, "100.000000");
    EXPECT_EQ(d.Boxes->East, "200.000000");
    EXPECT_EQ(d.Boxes->Azimuth, "");

    const IntersectionFileData headerOnly = ReadIntersectionFile("JD_CODE,N,E\r\n\r\n");
    EXPECT_TRUE(headerOnly.Points.empty());
    EXPECT_FALSE(headerOnly.Boxes);
    EXPECT_EQ(headerOnly.WrongFormat, 0);
}

TEST(RoadFiles, GradePointLinesShortEmptyAndUnreadable) {
    const GradePointFileData d = ReadGradePointFile("K,H,i1,i2,R\r\n"
                                                    "100,50,0,12,-1\r\n"
                                                    "200,51.2\r\n"
                                                    "250,52,12,-8,2500\r\n"
                                                    "400\r\n"
                                                    "300,,1,2,3\r\n"
                                                    "500,1,2,3,4\r\n");
    EXPECT_EQ(d.WrongFormat, 1); // the empty height is not a number; reading stops there
    ASSERT_EQ(d.Points.size(), 4u);
    EXPECT_EQ(d.Points[0].CurveFlag, 0); // radius -1
    EXPECT_EQ(d.Points[1].Mileage, 200);
    EXPECT_EQ(d.Points[1].Height, 51.2);
    EXPECT_EQ(d.Points[1].Slope2, 12); // kept
    EXPECT_EQ(d.Points[1].Radius, -1);
    EXPECT_EQ(d.Points[1].CurveFlag, 0);
    EXPECT_EQ(d.Points[2].CurveFlag, 1);
    EXPECT_EQ(d.Points[3].Mileage, 250); // a line without a comma keeps everything
    EXPECT_EQ(d.Points[3].Radius, 2500);
}

TEST(RoadFiles, ElementLinesShortEmptyAndUnreadable) {
    for (const char* tooShort :
         {"", "X0 ,Y0 ,S0 ,Azi0 \r\n", "X0\r\n1,2,3,4\r\n", "X0\r\n1,2,3,4\r\nheader\r\n"}) {
        const ElementFileData d = ReadElementFile(tooShort);
        EXPECT_EQ(d.WrongFormat, 1) << tooShort;
        EXPECT_TRUE(d.Elements.empty()) << tooShort;
        EXPECT_FALSE(d.Boxes) << tooShort;
    }

    const ElementFileData d = ReadElementFile("X0 ,Y0 ,S0 ,Azi0 \r\n"
                                              " 3000.5 , 500.25 , 100 , 0.75 \r\n"
                                              "header\r\n"
                                              "L,0,0,50,,9,9,123,4\r\n"
                                              "S,0,-200,40,L,3049,510\r\n"
                                              "A,-200,-200,60,L\r\n"
                                              "no comma\r\n"
                                              ",A,1,2\r\n"
                                              "\r\n"
                                              "X,-200,0,40,L,3150,520,999,9\r\n"
                                              "L,0,0,,,3200,530\r\n"
                                              "L,0,0,1,,3300,540\r\n");
    // Two lines without a first field are left out, each with a message; the empty length stops
    // the reading.
    EXPECT_EQ(d.WrongFormat, 3);
    ASSERT_EQ(d.Elements.size(), 4u);
    const PlaneInfo& first = d.Elements[0];
    EXPECT_EQ(first.LineType, LineTypeLine);
    EXPECT_EQ(first.North, 3000.5); // from the start line, not from its own line
    EXPECT_EQ(first.East, 500.25);
    EXPECT_EQ(first.Mileage, 100);
    EXPECT_EQ(first.AzimuthAngle, 0.75);
    EXPECT_EQ(first.Length, 50);
    EXPECT_EQ(d.Elements[1].LineType, LineTypeClothoid);
    EXPECT_EQ(d.Elements[1].EndRadius, -200);
    EXPECT_EQ(d.Elements[1].Direction, "L");
    EXPECT_EQ(d.Elements[1].North, 3049);
    EXPECT_EQ(d.Elements[1].East, 510);
    EXPECT_EQ(d.Elements[1].Mileage, 0);
    EXPECT_EQ(d.Elements[2].LineType, LineTypeCircle);
    EXPECT_EQ(d.Elements[2].North, 0); // the line ends after the direction
    EXPECT_EQ(d.Elements[2].East, 0);
    EXPECT_EQ(d.Elements[3].LineType, LineTypeClothoid); // any letter but L and A
    EXPECT_EQ(d.Elements[3].Mileage, 0);                 // chainage and azimuth are not read
    EXPECT_EQ(d.Elements[3].AzimuthAngle, 0);
    ASSERT_TRUE(d.Boxes);
    EXPECT_EQ(d.Boxes->Chainage, "100.000000");
    EXPECT_EQ(d.Boxes->Azimuth, "0.750000000000000");

    // Start line and first element line without fields: a straight with zeros.
    const ElementFileData bare = ReadElementFile("X0\r\nnothing\r\nheader\r\nL\r\n");
    EXPECT_EQ(bare.WrongFormat, 0);
    ASSERT_EQ(bare.Elements.size(), 1u);
    EXPECT_EQ(bare.Elements[0].LineType, LineTypeLine);
    EXPECT_EQ(bare.Elements[0].North, 0);

    // A start line that is not a number: nothing added.
    const ElementFileData badStart = ReadElementFile("X0\r\na,b,c,d\r\nheader\r\nL,0,0,1\r\n");
    EXPECT_EQ(badStart.WrongFormat, 1);
    EXPECT_TRUE(badStart.Elements.empty());
}

TEST(RoadFiles, StakeLinesTakeTheirFirstItem) {
    const StakeFileData d = ReadStakeFile("Mileage,N\r\n"
                                          "100\r\n"
                                          "\"200.5\",x\r\n"
                                          "  300 5,1\r\n"
                                          "\r\n"
                                          "K1+400,1,2\r\n"
                                          "500\r\n");
    EXPECT_EQ(d.WrongFormat, 1); // a stake name stops the reading
    ASSERT_EQ(d.Stakes.size(), 3u);
    EXPECT_EQ(d.Stakes[0].Mileage, 100);
    EXPECT_EQ(d.Stakes[1].Mileage, 200.5);
    EXPECT_EQ(d.Stakes[2].Mileage, 300);
    EXPECT_TRUE(ReadStakeFile("Mileage\r\n").Stakes.empty());
    EXPECT_EQ(ReadStakeFile(",\r\n,\r\n").WrongFormat, 1); // an empty item is not a number
}

TEST(RoadFiles, LoadSetsTheModeAndTheFlags) {
    TempDir dir;
    const std::string phi = dir.write("a.phi", "h\r\nJD0,1,2,3,0,0,0\r\nJD1,5,6\r\n");
    const std::string sec =
        dir.write("b.Sec", "X0\r\n1,2,3,0.5\r\nh\r\nL,0,0,5\r\nL,0,0,0,,9,9\r\n");
    const std::string pvi = dir.write("c.PVI", "h\r\n0,10,0,5,0\r\n100,10.5,5,0,0\r\n");
    const std::string stakes = dir.write("d.txt", "h\r\n1\r\n2\r\n");
    const std::string other = dir.write("e.txt", "h\r\nJD0,1,2,3\r\n1,2,3,4,5\r\n");

    RoadData d;
    EXPECT_FALSE(d.LoadQuestion(RoadList::Intersections));
    EXPECT_FALSE(d.LoadQuestion(RoadList::Elements));

    // Page 1: the elements; any letter case of the extension.
    EditRoadState(d).IntersectionPoints = {Point("X", 1, 1, 0, 0, 0, 0)};
    LoadOutcome o = d.Load(RoadList::Elements, sec);
    EXPECT_TRUE(o.Read);
    EXPECT_EQ(EditRoadState(d).PlaneElements.size(), 2u);
    EXPECT_TRUE(EditRoadState(d).IntersectionPoints.empty());
    EXPECT_EQ(EditRoadState(d).InputMode, RoadList::Elements);
    EXPECT_FALSE(EditRoadState(d).PlanePrepared);

    // Page 0 now asks first; loading empties the elements.
    ASSERT_TRUE(d.LoadQuestion(RoadList::Intersections));
    EXPECT_STREQ(d.LoadQuestion(RoadList::Intersections)->TitleKey, "if_clear_mainpile_title");
    EXPECT_STREQ(d.LoadQuestion(RoadList::Intersections)->TextKey, "if_clear_mainpile_desc");
    EditRoadState(d).PlanePrepared = true;
    o = d.Load(RoadList::Intersections, phi);
    EXPECT_EQ(EditRoadState(d).IntersectionPoints.size(), 2u);
    EXPECT_TRUE(EditRoadState(d).PlaneElements.empty());
    EXPECT_EQ(EditRoadState(d).InputMode, RoadList::Intersections);
    EXPECT_FALSE(EditRoadState(d).PlanePrepared);
    ASSERT_TRUE(o.Boxes);
    EXPECT_EQ(o.Boxes->Chainage, "3.000000");
    ASSERT_TRUE(d.LoadQuestion(RoadList::Elements));
    EXPECT_STREQ(d.LoadQuestion(RoadList::Elements)->TitleKey, "if_clear_intersection_title");

    // Page 2: the profile, which is always marked changed; the plane flag stays.
    EditRoadState(d).PlanePrepared = true;
    o = d.Load(RoadList::Profile, pvi);
    EXPECT_EQ(EditRoadState(d).GradePoints.size(), 2u);
    EXPECT_TRUE(EditRoadState(d).ProfileChanged);
    EXPECT_TRUE(EditRoadState(d).PlanePrepared);

    // Page 3 reads a stake file of any extension.
    o = d.Load(RoadList::Stakes, stakes);
    EXPECT_TRUE(o.Read);
    EXPECT_EQ(EditRoadState(d).Stakes.size(), 2u);
    EXPECT_TRUE(EditRoadState(d).PlanePrepared);

    // A wrong extension reads nothing but sets the mode (and empties the elements on page 1).
    EditRoadState(d).ProfileChanged = false;
    o = d.Load(RoadList::Profile, other);
    EXPECT_FALSE(o.Read);
    EXPECT_EQ(EditRoadState(d).GradePoints.size(), 2u);
    EXPECT_TRUE(EditRoadState(d).ProfileChanged);
    EditRoadState(d).PlaneElements = {El('L'), El('L')};
    o = d.Load(RoadList::Elements, other);
    EXPECT_FALSE(o.Read);
    EXPECT_TRUE(EditRoadState(d).PlaneElements.empty());
    EXPECT_TRUE(EditRoadState(d).IntersectionPoints.empty());
    EXPECT_EQ(EditRoadState(d).InputMode, RoadList::Elements);
    o = d.Load(RoadList::Intersections, other);
    EXPECT_FALSE(o.Read);
    EXPECT_FALSE(o.Boxes);
    EXPECT_EQ(EditRoadState(d).InputMode, RoadList::Intersections);

    // A file that cannot be read changes nothing.
    EditRoadState(d).PlanePrepared = true;
    o = d.Load(RoadList::Intersections, dir.file("missing.PHI"));
    EXPECT_TRUE(o.ReadFailed);
    EXPECT_FALSE(o.ReadError.empty());
    EXPECT_TRUE(EditRoadState(d).PlanePrepared);
    o = d.Load(RoadList::Stakes, dir.file("missing.csv"));
    EXPECT_TRUE(o.ReadFailed);
    EXPECT_EQ(EditRoadState(d).Stakes.size(), 2u);
}

TEST(RoadFiles, SaveWritesWholeFilesOnly) {
    TempDir dir;
    RoadData d;
    const std::string path = dir.file("empty.PHI");
    EXPECT_EQ(d.Save(RoadList::Intersections, path, KeyTitles()), SaveStatus::NothingToSave);
    EXPECT_FALSE(std::filesystem::exists(path));
    EditRoadState(d).Stakes = {Pile{1}};
    std::string error;
    EXPECT_EQ(d.Save(RoadList::Stakes, dir.file("no/such/folder/s.csv"), KeyTitles(), &error),
              SaveStatus::Failed);
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace telvane::road

namespace telvane::road {

// A number that is too large to be one stops each reader where it stands, as a word does.
TEST(RoadFileReaders, ANumberBeyondRangeStopsTheReadingThere) {
    const IntersectionFileData phi =
        ReadIntersectionFile("h\r\nJD0,1,2,3,0,0,0\r\nJD1,1e999,2,3,0,0,0\r\nJD2,1,2,3,0,0,0\r\n");
    EXPECT_EQ(phi.WrongFormat, 1);
    EXPECT_EQ(phi.Points.size(), 1u);
    const ElementFileData sec =
        ReadElementFile("X0\r\n1,2,3,0\r\nt\r\nL,0,0,10,\r\nA,1e999,0,10,R\r\nL,0,0,10,\r\n");
    EXPECT_EQ(sec.WrongFormat, 1);
    EXPECT_EQ(sec.Elements.size(), 1u);
    const GradePointFileData pvi = ReadGradePointFile("h\r\n0,100,0,1,0\r\n10,1e999,1,2,0\r\n");
    EXPECT_EQ(pvi.WrongFormat, 1);
    EXPECT_EQ(pvi.Points.size(), 1u);
    const StakeFileData stakes = ReadStakeFile("h\r\n1\r\n1e999\r\n3\r\n");
    EXPECT_EQ(stakes.WrongFormat, 1);
    EXPECT_EQ(stakes.Stakes.size(), 1u);
}

} // namespace telvane::road
