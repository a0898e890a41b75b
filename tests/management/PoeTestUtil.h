#pragma once

// The PoE dialogs' tests: one simulated PoE switch (PQS-4400-28P, 24 PoE
// ports) per test program, the connection settings pointed at it, and the
// helpers of the power tests (set lines with the private arc as "P.",
// waiting for a dialog to settle).

#include "PowerTestUtil.h"

#include <QDateTime>

#include <string>

class PoeDialogTest : public SharedSwitchDialogTest
{
protected:
    static constexpr const char* kModel = "PQS-4400-28P";
    static inline const std::string P = "1.3.6.1.4.1.32473.10.126.4.1";

    static void SetUpTestSuite()
    {
        SimulatedSwitch::Options options;
        options.model = kModel;
        StartSuite(options);
    }
    void SetUp() override
    {
        SharedSwitchDialogTest::SetUp();
        g_strDeviceName = QString::fromLatin1(kModel);
        g_nDevicePortNum = 28;
        g_strSnmpTimeout = QStringLiteral("1000");
    }

    static void Open(CConfigDialog& d) { OpenSettled(d, *sim); }

    // Removes every column of a row of a RowStatus table with 21 columns.
    static void RemoveRow(const std::string& entry, int index)
    {
        for (int column = 2; column <= 21; ++column)
            ASSERT_TRUE(sim->command("unset " + entry + "." + std::to_string(column) + "." + std::to_string(index)));
    }

    // A time window without a date, 08:00 to 09:00 every day, put straight
    // into a table of time windows (profiles or PoE time ranges).
    static void PutWindow(const std::string& entry, int index, const std::string& name, int status = 1)
    {
        const std::string i = "." + std::to_string(index);
        ASSERT_TRUE(sim->command("set " + entry + ".2" + i + " s " + name));
        for (int column = 3; column <= 20; ++column)
            ASSERT_TRUE(sim->command("set " + entry + "." + std::to_string(column) + i + " i "
                                     + (column == 7 ? "8" : column == 12 ? "9" : column == 8 || column == 13 ? "0"
                                                       : column <= 13 ? "2" : "1")));
        ASSERT_TRUE(sim->command("set " + entry + ".21" + i + " i " + std::to_string(status)));
    }

    // When the switch received a request (its log line's time), in ms.
    static qint64 ReceivedMs(const SimRequest& request)
    {
        const std::string key = "\"time\":\"";
        const size_t at = request.line.find(key);
        if (at == std::string::npos)
            return -1;
        const size_t from = at + key.size();
        const std::string text = request.line.substr(from, request.line.find('"', from) - from);
        return QDateTime::fromString(QString::fromStdString(text), Qt::ISODateWithMs).toMSecsSinceEpoch();
    }

    // Number of requests in the log that read below `oid`.
    static int ReadsUnder(const std::string& oid)
    {
        int n = 0;
        for (const SimRequest& request : sim->requests())
            if (request.pdu != "set")
                for (const SimVarbind& v : request.varbinds)
                    if (v.oid.rfind(oid, 0) == 0) {
                        ++n;
                        break;
                    }
        return n;
    }
};
