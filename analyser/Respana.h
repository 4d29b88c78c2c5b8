#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace respana {

// The file names of one run: DataName + ".CSV" in, and DataName with its last
// character replaced by "2" + ".CSV" out ("_sysan01" gives "_sysan02.CSV").
std::string inputFileName(const std::string &dataName);
std::string outputFileName(const std::string &dataName);

// One whole run of the program with its arguments (without the program
// name): read, analyse, write. Warnings go to messages, failures as one line
// to errors; returns the exit code, 0 when the output file was written.
int runRespana(const std::vector<std::string> &args, std::ostream &messages, std::ostream &errors);

} // namespace respana
