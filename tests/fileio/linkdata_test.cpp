#include "fileio/linkdata.h"

#include <gtest/gtest.h>

using namespace telvane;

namespace {

std::vector<std::string> keys(const Messages& m) {
    std::vector<std::string> out;
    for (const UserMessage& u : m)
        out.push_back(u.value);
    return out;
}

} // namespace

TEST(ReceivedLines, WhatAFinishedReceiveLoads) {
    struct Case {
        const char* name;
        Lines lines;
        bool changed;
        DataKind kind;
        std::size_t records, points, codes;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"bare codes", {"TREE", "WALL"}, true, DataKind::Codes, 0, 0, 2, {}},
        {"code table", {"1:TREE:a:b:c:d:e:f:g:h"}, true, DataKind::Codes, 0, 0, 1, {}},
        {"coordinate list",
         {"SC      P1,1.0,C", "ENZ     1.0,2.0,3.0", "SC      P2,1.0,", "NEZ     4.0,5.0,6.0"},
         true,
         DataKind::Points,
         0,
         2,
         1,
         {}},
        {"job",
         {"JOB     J", "INST    I", "SC      P1,1.0,C", "ENZ     1.0,2.0,3.0"},
         true,
         DataKind::Records,
         1,
         0,
         0,
         {}},
        {"job of names only",
         {"JOB     J", "INST    I"},
         true,
         DataKind::Records,
         0,
         0,
         0,
         {"file_no_valid_data"}},
        {"nothing known", {"a,b", "c d"}, false, DataKind::Points3, 5, 5, 1, {}},
        // A receive that stopped inside a record: the complete ones, and one message.
        {"job cut short",
         {"JOB     J", "INST    I", "SC      P1,1.0,C", "ENZ     1.0,2.0,3.0", "SC      P2,1.0,C",
          "ENZ     4.0,5"},
         true,
         DataKind::Records,
         1,
         0,
         0,
         {"job_cut_short"}},
        {"point list cut short",
         {"SC      P1,1.0,C", "ENZ     1.0,2.0,3.0", "SC      P2,1.0,C", "EN"},
         true,
         DataKind::Points,
         0,
         1,
         1,
         {"job_cut_short"}},
    };
    for (const Case& c : cases) {
        DataState d;
        d.Kind = DataKind::Points3;
        d.RecordList.resize(5);
        d.CoordList.resize(5);
        d.CodeList = {{"KEEP"}};
        Messages m;
        EXPECT_EQ(interpret_received(c.lines, d, m), c.changed) << c.name;
        EXPECT_EQ(d.Kind, c.kind) << c.name;
        EXPECT_EQ(d.RecordList.size(), c.records) << c.name;
        EXPECT_EQ(d.CoordList.size(), c.points) << c.name;
        EXPECT_EQ(d.CodeList.size(), c.codes) << c.name;
        EXPECT_EQ(keys(m), c.messages) << c.name;
    }
}

TEST(SendLines, EachKindsLineFormatAndLimits) {
    EXPECT_EQ(point_send_line({"P1", "TREE", 100, 200, 10.5}),
              "P1 TREE 0 100.000000 200.000000 10.500000 0\r\n");
    EXPECT_EQ(point_send_line({"P2", "", -1.25, 0, 0}),
              "P2 \b 0 -1.250000 0.000000 0.000000 0\r\n");
    EXPECT_EQ(road_send_line({"100", "20.5", "1.5", "-2", "3000"}, 5), "100 20.5 1.5 -2 3000 \r\n");
    EXPECT_EQ(road_send_line({"JD1", "1", "2", "3", "4", "5", "6"}, 7), "JD1 1 2 3 4 5 6 \r\n");
    EXPECT_EQ(road_send_line({"1", "2", "3", "4", "5", "6", "7", "8", "9"}, 7),
              "1 2 3 4 5 6 7 8,9,\r\n");
    EXPECT_EQ(road_send_line({"", "2", "3"}, 7), ",2,3,\r\n"); // a first empty cell blocks all
    EXPECT_EQ(road_send_line({"12.5"}, 0), "12.5,\r\n");

    DataState d;
    EXPECT_EQ(prepare_send_lines(d).refusal, std::vector<std::string>{"upload_empty_file"});
    d.Kind = DataKind::Codes;
    d.CodeList = {{"A"}, {""}, {"B"}};
    EXPECT_EQ(prepare_send_lines(d).lines, (Lines{"A\r\n", "B\r\n"}));
    d.Kind = DataKind::Points3; // kinds without send lines prepare nothing
    EXPECT_TRUE(prepare_send_lines(d).lines.empty());
    struct Limit {
        RoadList list;
        std::size_t rows; // the most data rows that may go
        const char* key;
        const char* line; // what a row of nine cells becomes
    };
    d.Kind = DataKind::Road;
    const RoadRow nine{"1", "2", "3", "4", "5", "6", "7", "8", "9"};
    for (const Limit& l :
         {Limit{RoadList::Intersections, 19, "intersection_data", "1 2 3 4 5 6 7 8,9,\r\n"},
          Limit{RoadList::Elements, 79, "mainpile_data", "1 2 3 4 5 6 7 8,9,\r\n"},
          Limit{RoadList::Profile, 19, "slope_data", "1 2 3 4 5 6,7,8,9,\r\n"},
          Limit{RoadList::Stakes, 99, "pile_data", "1,2,3,4,5,6,7,8,9,\r\n"}}) {
        d.Road = l.list;
        d.RoadRows.assign(l.rows, nine);
        const SendPlan ok = prepare_send_lines(d);
        EXPECT_TRUE(ok.refusal.empty()) << l.key;
        EXPECT_EQ(ok.lines.size(), l.rows) << l.key;
        EXPECT_EQ(ok.lines.back(), l.line) << l.key;
        d.RoadRows.push_back({"1"});
        EXPECT_EQ(prepare_send_lines(d).refusal, (std::vector<std::string>{l.key, "outlimit"}));
    }
}

TEST(ReceivedLines, TheCutShortMessageNamesTheLineAndTheRecordsKept) {
    const Lines lines = {"JOB     J",           "INST    I",        "SC      P1,1.0,C",
                         "ENZ     1.0,2.0,3.0", "SC      P2,1.0,C", "ENZ     1.0,2.0,3.0",
                         "SC      P3,1.0,C",    "ENZ     4.0,5"};
    DataState d;
    Messages m;
    ASSERT_TRUE(interpret_received(lines, d, m));
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].args, (std::vector<std::string>{"7", "2"}));
    EXPECT_EQ(d.RecordList.size(), 2u);
}
