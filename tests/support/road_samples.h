// A small road for the road command's tests: four intersection points with two curves, a
// profile over them, and the reading of a stake table the command writes.
#pragma once

#include "model/numtext.h"
#include "model/textlines.h"

#include <cmath>
#include <string>
#include <vector>

namespace telvane::testing {

inline const char* const kSampleIntersections = "IP name,North,East,Chainage,Radius,S1,S2\r\n"
                                                "JD0,3000,500,1000,0,0,0\r\n"
                                                "JD1,3500,690,0,300,40,50\r\n"
                                                "JD2,4000,520,0,250,35,35\r\n"
                                                "JD3,4600,800,0,0,0,0\r\n";
inline const char* const kSampleProfile = "K,H,i1,i2,R\r\n"
                                          "1000,100,12,12,0\r\n"
                                          "2000,112,12,-8,5000\r\n"
                                          "2500,108,-8,-8,0\r\n";

// The numbers of a stake file, row by row under its header; a value that was not calculated (a
// stake outside, sides without an offset) is an empty cell and reads as NaN.
inline std::vector<std::vector<double>> StakeTable(const std::string& text) {
    std::vector<std::vector<double>> rows;
    const Lines lines = split_lines(text);
    for (std::size_t n = 1; n < lines.size(); ++n) {
        std::vector<double> row;
        for (const std::string& cell : split_delimited(lines[n], ','))
            row.push_back(cell.empty() ? std::nan("") : parse_double(cell));
        rows.push_back(row);
    }
    return rows;
}

} // namespace telvane::testing
