// The texts the road commands show: language keys, and the few texts the program carries itself
// (bytes in the program's code page, GBK, like every text it shows).
#pragma once

namespace telvane::road {

namespace roadkeys {
inline constexpr const char* DataEmpty = "data_empty";
inline constexpr const char* WrongFormat = "wrong_format";
inline constexpr const char* OutLimit = "Data_OutLimit";

// Questions asked before a load empties the other form of the alignment.
inline constexpr const char* ClearMainPileTitle = "if_clear_mainpile_title";
inline constexpr const char* ClearMainPileDesc = "if_clear_mainpile_desc";
inline constexpr const char* ClearIntersectionTitle = "if_clear_intersection_title";
inline constexpr const char* ClearIntersectionDesc = "if_clear_intersection_desc";

// Asked before a save replaces an existing file.
inline constexpr const char* OverwriteTitle = "if_overwrite_title";
inline constexpr const char* OverwriteDesc = "if_overwrite_desc";

// Saving: the text of savebtn, the file name and the text of Success or Failure run together.
inline constexpr const char* SaveButton = "savebtn";
inline constexpr const char* Success = "Success";
inline constexpr const char* Failure = "Failure";
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
