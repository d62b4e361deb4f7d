// A synthetic job text of a given number of records, mixed as a day in the field produces them.
#pragma once

#include "model/jobtext.h"

#include <string>

namespace telvane::bench {

inline Job make_job(std::size_t records) {
    Job job;
    job.JobName = "BENCH";
    job.InstName = "TS";
    job.RecordList.reserve(records);
    for (std::size_t i = 0; i < records; ++i) {
        record_item r;
        const double v = static_cast<double>(i);
        const std::string name = "P" + std::to_string(i % 100000);
        switch (i % 10) {
        case 0:
            r.data = sta_data{name, "STN", 1.543, 500000.1234 + v, 3000000.5678 + v, 45.321};
            break;
        case 1: {
            bs_data bs;
            bs.name = name;
            bs.target_height = 1.6;
            bs.ha = 12.5;
            bs.va = 91.25;
            bs.sd = 123.4567;
            bs.has_bss = 1;
            bs.bss_north = 3000100.25;
            bs.bss_east = 500100.75;
            bs.bss_elev = 44.5;
            r.data = bs;
            break;
        }
        case 2:
            r.data = sd_data{name, "WALL", 1.5, 123.456, 89.5, 55.5555};
            break;
        case 3:
            r.data = sa_data{name, "", 1.5, 200.25, 90.5};
            break;
        case 9:
            r.data = note_data{"checked by crew, weather fine"};
            break;
        default: {
            sc_data sc;
            sc.name = name;
            sc.code = "TREE";
            sc.target_height = 1.3;
            sc.north = 3000000.0 + v * 0.5;
            sc.east = 500000.0 + v * 0.25;
            sc.elev = 40.125;
            sc.has_obs = i % 2;
            sc.ha = 45.5;
            sc.va = 92.0;
            sc.sd = 77.7;
            r.data = sc;
            break;
        }
        }
        job.RecordList.push_back(std::move(r));
    }
    return job;
}

inline std::string make_job_text(std::size_t records) {
    return join_lines(write_job_text(make_job(records)));
}

} // namespace telvane::bench
