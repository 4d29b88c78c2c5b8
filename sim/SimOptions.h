#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The command line of ampsim.
struct TSimOptions {
    std::string link;
    std::string db;          // first definition storage (.ad0); empty: Sample.ad0 beside the program
    bool noDb = false;
    std::vector<std::pair<int, uint32_t>> axes; // axis number, model code
    int baud = 9600;
    bool lineTime = false;
    int turnaroundMs = 1;
    int opTimeMs = 300;
    int notchMs = 3000;      // run time of the notch-filter tuning
    int frequencyMs = 30000; // run time of the vibration-suppression frequency tuning
    int axis0 = 0;
    // --plant N=F_HZ,ZETA: the machine behind axis N.
    std::vector<std::pair<int, std::string>> plants;
    std::string control;
    std::string config;      // file of control commands run at start
    int readStdin = -1;      // -1: when standard input is not a terminal
    bool verbose = false;
    bool still = false;      // motors stopped at start instead of the demo profile
    bool help = false;

    // Parses argv; nullopt with a message on a bad command line.
    static std::optional<TSimOptions> Parse(const std::vector<std::string> &args, std::string *error);
    static std::string Usage();
};
