// The texts the road commands show: language keys, and the few texts the program carries itself
// (bytes in the program's code page, GBK, like every text it shows).
#pragma once

namespace telvane::road {

namespace roadkeys {
inline constexpr const char* DataEmpty = "data_empty";
inline constexpr const char* WrongFormat = "wrong_format";
inline constexpr const char* OutLimit = "Data_OutLimit";

// What the calculation names when it stops: the element, grade point or intersection point (by
// row or name) and the value at fault. Each "%s" takes one of the message's values.
inline constexpr const char* TooFewElements = "road_too_few_elements";
inline constexpr const char* PlaneRefused = "road_plane_refused";
inline constexpr const char* ProfileRefused = "road_profile_refused";
inline constexpr const char* ElementOrder = "road_element_order";              // row
inline constexpr const char* ElementNotNumber = "road_element_not_number";     // row
inline constexpr const char* ElementRadiusZero = "road_element_radius_zero";   // row
inline constexpr const char* ElementAfterSpiral = "road_element_after_spiral"; // row
inline constexpr const char* FirstElementKind = "road_first_element_kind";
inline constexpr const char* ProfileTooFew = "road_profile_too_few";
inline constexpr const char* GradeNotNumber = "road_grade_not_number"; // row
inline constexpr const char* GradeOrder = "road_grade_order";          // row, chainage
// name, spiral length, the longest the radius allows
inline constexpr const char* SpiralTooLongForRadius = "ip_spiral_too_long_for_radius";
// a line of a road file that cannot be read: its number, the file
inline constexpr const char* FileLineWrong = "road_file_line_wrong";
// two intersection points on the same spot: their names
inline constexpr const char* PointsCoincide = "ip_points_coincide";
// how many, the first one's chainage
inline constexpr const char* StakesOutOfRange = "road_stakes_out_of_range";

// Questions asked before a load empties the other form of the alignment.
inline constexpr const char* ClearMainPileTitle = "if_clear_mainpile_title";
inline constexpr const char* ClearMainPileDesc = "if_clear_mainpile_desc";
inline constexpr const char* ClearIntersectionTitle = "if_clear_intersection_title";
inline constexpr const char* ClearIntersectionDesc = "if_clear_intersection_desc";

// Asked before a save replaces an existing file.
inline constexpr const char* OverwriteTitle = "if_overwrite_title";
inline constexpr const char* OverwriteDesc = "if_overwrite_desc";

// Saving: "Saved: FILE", "Could not save FILE: reason".
inline constexpr const char* Saved = "road_saved";            // file
inline constexpr const char* SaveFailed = "road_save_failed"; // file, reason
} // namespace roadkeys

namespace roadtexts {
// 线元数量不能少于3个
inline constexpr const char* TooFewElements =
    "\xcf\xdf\xd4\xaa\xca\xfd\xc1\xbf\xb2\xbb\xc4\xdc\xc9\xd9\xd3\xda"
    "3\xb8\xf6";
// 输入的平面参数有误
inline constexpr const char* PlaneRefused =
    "\xca\xe4\xc8\xeb\xb5\xc4\xc6\xbd\xc3\xe6\xb2\xce\xca\xfd\xd3\xd0\xce\xf3";
// 输入的纵坡参数有误
inline constexpr const char* ProfileRefused =
    "\xca\xe4\xc8\xeb\xb5\xc4\xd7\xdd\xc6\xc2\xb2\xce\xca\xfd\xd3\xd0\xce\xf3";
} // namespace roadtexts

} // namespace telvane::road
