// Pass/fail bookkeeping of the Wine graph test; every check prints one line.
#pragma once
#include <cstdarg>
#include <cstdio>

namespace graphtest {

class Report {
public:
    void Check(bool ok, const char* format, ...) {
        va_list args;
        va_start(args, format);
        std::printf("%s: ", ok ? "PASS" : "FAIL");
        std::vprintf(format, args);
        std::printf("\n");
        std::fflush(stdout);
        va_end(args);
        (ok ? passed_ : failed_)++;
    }
    // A check on an HRESULT that must be exactly S_OK.
    bool Ok(long hr, const char* what) {
        Check(hr == 0, "%s (hr=0x%08lX)", what, static_cast<unsigned long>(hr));
        return hr == 0;
    }
    int Passed() const { return passed_; }
    int Failed() const { return failed_; }

private:
    int passed_ = 0;
    int failed_ = 0;
};

}  // namespace graphtest
