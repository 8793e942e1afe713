#pragma once

#include <QPoint>
#include <array>

// Where the window puts the mock-up labels, in client pixels. The cheque's captions and boxes
// are drawn around these spots, and the sample composition writes its texts at them.
namespace assetgen::spot {

inline constexpr QPoint stubYear{109, 195};      // Label13, window font
inline constexpr QPoint stubMonth{150, 195};     // Label14
inline constexpr QPoint stubDay{185, 195};       // Label19
inline constexpr QPoint stubShortName{105, 214}; // Label15, 宋体 12
inline constexpr QPoint stubAmount{105, 234};    // Label16
inline constexpr QPoint stubPurpose{105, 254};   // Label17

inline constexpr QPoint bodyYear{368, 77};     // Label8, 宋体 12
inline constexpr QPoint bodyMonth{447, 78};    // Label9
inline constexpr QPoint bodyDay{507, 78};      // Label10
inline constexpr QPoint bank{672, 77};         // Label2
inline constexpr QPoint account{672, 95};      // Label5
inline constexpr QPoint payee{312, 96};        // Label11
inline constexpr QPoint capitals{328, 125};    // Label12, 宋体 16 bold
inline constexpr QPoint bodyPurpose{296, 164}; // Label18

// Label21 … Label31, 宋体 14 bold, one character each, under 亿 千 百 十 万 千 百 十 元 角 分.
inline constexpr int gridTop = 135;
inline constexpr std::array<int, 11> gridLefts{654, 669, 684, 699, 714, 729,
                                               743, 758, 773, 787, 802};

} // namespace assetgen::spot
