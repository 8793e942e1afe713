#pragma once

#include <utility>

namespace testsupport {

/// The captions of a sample cheque of 12 345 678.90 yuan, by print label, in the order the
/// print layout sets them; every label has a text, and no text appears twice.
inline constexpr std::pair<const char*, const char*> sampleChequeCaptions[] = {
    {"PrintLabel23", "2024"},
    {"PrintLabel14", "05"},
    {"PrintLabel2", "09"},
    {"PrintLabel4", "华信科技"},
    {"PrintLabel3", "￥12345678.90"},
    {"PrintLabel5", "壹仟贰佰叁拾肆万伍仟陆佰柒拾捌元玖角"},
    {"PrintLabel1", "贰零贰肆"},
    {"PrintLabel21", "零伍"},
    {"PrintLabel16", "零玖"},
    {"PrintLabel24", "北京华信科技有限公司"},
    {"PrintLabel25", "货款"},
    {"PrintLabel15", "用途"},
    {"PrintLabel8", "中国工商银行北京分行"},
    {"PrintLabel9", "0200001234567890123"},
    {"PrintLabel6", "￥"},
    {"PrintLabel7", "1"},
    {"PrintLabel10", "2"},
    {"PrintLabel11", "3"},
    {"PrintLabel12", "4"},
    {"PrintLabel13", "5"},
    {"PrintLabel17", "6"},
    {"PrintLabel18", "7"},
    {"PrintLabel19", "8"},
    {"PrintLabel20", "9"},
    {"PrintLabel22", "0"},
};

} // namespace testsupport
