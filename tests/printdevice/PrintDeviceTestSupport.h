// Shared pieces of the print device tests: a raw printer on the test's own
// spool folder, jobs run through a CECGDC and read back byte for byte, and
// the control bytes of the printer languages for writing golden streams.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/TavrionDoc.h"
#include "printdevice/ECGDC.h"
#include "tests/platform/print/PrintTestSupport.h"

namespace printdevicetest {

const std::string ESC = "\x1b";
const std::string RS = "\x1e";
const std::string SI = "\x0f";
const std::string FF = "\x0c";

const wchar_t kRawPrinter[] = L"Raw Test Printer";

// Printable form of a byte stream for failure messages.
inline std::string Visible(const std::string& bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back((char)c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02X>", c);
            out += hex;
        }
    }
    return out;
}

// A raw printer of its own spool folder; RunJob sends one document through
// a CECGDC of the given type and returns the bytes that reached the spool.
class RawJobTest : public printtest::PrintTest {
protected:
    void SetUp() override
    {
        printtest::PrintTest::SetUp();
        AddPrinter(kRawPrinter);
    }

    // The bytes of the job it adds to the spool; "" when none landed (an
    // aborted or refused one). `frame` becomes the context's framework
    // context, as the printer settings give every job one.
    std::string RunJob(_PRINT_TYPE type, const std::function<void(CECGDC&)>& draw, int copies = 1,
                       CDC* frame = nullptr)
    {
        const size_t jobsBefore = Jobs().size();
        CECGDC dc(type);
        dc.SetDC(frame);
        _PRINTER_SETTING setting;
        setting.nCopies = copies;
        dc.SetPrinterSetting(setting);
        dc.SetECGDoc(&m_doc);
        EXPECT_TRUE(dc.OpenECGPrinter(kRawPrinter, nullptr, nullptr));
        EXPECT_GT(dc.StartDoc(L"Golden"), 0);
        draw(dc);
        dc.EndDoc();
        dc.CloseECGPrinter();
        const std::vector<platform::print::SpooledJob> jobs = Jobs();
        if (jobs.size() == jobsBefore) return std::string();
        EXPECT_EQ(jobsBefore + 1, jobs.size());
        EXPECT_EQ(L"RAW", jobs.back().datatype);
        return testsupport::ReadFileBytes(jobs.back().dataPath);
    }

    CTavrionDoc m_doc;
};

}  // namespace printdevicetest

// Compares byte streams and shows both readably when they differ.
#define EXPECT_STREAM(expected, actual)                                                                  \
    EXPECT_EQ(printdevicetest::Visible(expected), printdevicetest::Visible(actual))
