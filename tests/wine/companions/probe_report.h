// Counts and prints the probe's checks; the exit code and the last line come from here.
#pragma once

#include <cstdio>
#include <string>

class ProbeReport {
public:
    bool Check(bool ok, const std::string& name, const std::string& detail = "") {
        if (ok) {
            ++passed_;
            std::printf("ok   %s\n", name.c_str());
        } else {
            ++failed_;
            std::printf("FAIL %s%s%s\n", name.c_str(), detail.empty() ? "" : ": ", detail.c_str());
        }
        std::fflush(stdout);
        return ok;
    }

    void Note(const std::string& text) {
        std::printf("#    %s\n", text.c_str());
        std::fflush(stdout);
    }

    int Finish() const {
        std::printf("%d passed, %d failed\n", passed_, failed_);
        std::fflush(stdout);
        return failed_ == 0 ? 0 : 1;
    }

private:
    int passed_ = 0;
    int failed_ = 0;
};
