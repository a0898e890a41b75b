// One refresh pass of the PQS-4400-52's front panel against an agent, over
// SNMPv1 and SNMPv3: wall time, requests, and the ratio of the time to
// (requests x the measured round trip of one get). The ratio is printed last.
//
//   bench_panel --port PORT [--resources DIR] [--runs N]

#include "CCommonSNMP.h"
#include "CPanelView.h"
#include "GlobalSettings.h"
#include "SnmpSetup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Round trips of single gets of one object (ms), added to times.
void RoundTrips(CCommonSNMP& session, int count, std::vector<double>& times)
{
    for (int i = 0; i < count; ++i) {
        session.Prepare(SNMP_PDU_GET);
        session.AddValue(QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.1.13.1.3.1"), SNMP_TYPE_NULL, nullptr);
        CSnmp* response = nullptr;
        QElapsedTimer t;
        t.start();
        const int result = session.SendSync(response, 0);
        times.push_back(t.nsecsElapsed() / 1e6);
        delete response;
        if (result != 0)
            std::fprintf(stderr, "get failed: %d\n", result);
    }
}

double Bench(const char* what, const QString& resources, int runs)
{
    CPanelView view(resources);
    QWidget owner;
    if (!view.Init(&owner, true)) {
        std::fprintf(stderr, "panel not loaded from %s\n", qPrintable(resources));
        return 0;
    }
    view.RefreshOnce();   // warm-up: sessions, keys, engine discovery
    // The round trips are taken between the passes, as many as a pass sends,
    // so that both see the machine in the same state.
    CCommonSNMP session;
    std::vector<double> trips;
    RoundTrips(session, 20, trips);   // warm-up of the second session
    trips.clear();
    std::vector<double> times;
    int requests = 0;
    for (int i = 0; i < runs; ++i) {
        RoundTrips(session, std::max(requests, 20), trips);
        const int before = view.RequestCount();
        QElapsedTimer t;
        t.start();
        if (!view.RefreshOnce())
            std::fprintf(stderr, "%s: the pass got no answer\n", what);
        times.push_back(t.nsecsElapsed() / 1e6);
        requests = view.RequestCount() - before;
    }
    const double pass = Median(times);
    const double trip = Median(trips);
    const double ratio = pass / (requests * trip);
    std::printf("%s: pass %.2f ms, %d requests, round trip %.3f ms, ratio %.2f\n", what, pass, requests, trip, ratio);
    return ratio;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString port;
    QString resources = QStringLiteral(VELMARC_SOURCE_DIR "/resources");
    int runs = 9;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == QLatin1String("--port"))
            port = QString::fromLocal8Bit(argv[i + 1]);
        else if (a == QLatin1String("--resources"))
            resources = QString::fromLocal8Bit(argv[i + 1]);
        else if (a == QLatin1String("--runs"))
            runs = std::max(1, atoi(argv[i + 1]));
    }
    if (port.isEmpty()) {
        std::fprintf(stderr, "usage: bench_panel --port PORT [--resources DIR] [--runs N]\n");
        return 2;
    }
    SnmpInit(&app);
    SetSnmpTimeout(5000);
    ResetGlobalSettings();
    g_strDeviceIP = QStringLiteral("127.0.0.1");
    g_strSnmpPort = port;
    const double v1 = Bench("v1", resources, runs);
    g_strSnmpVersion = QStringLiteral("3");
    g_strV3UserName = QStringLiteral("velsha");
    g_strV3SecurityLevel = QStringLiteral("2");
    g_strV3AuthProtocol = QStringLiteral("3");
    g_strV3AuthPassword = QStringLiteral("velsha-auth");
    const double v3 = Bench("v3", resources, runs);
    std::printf("ratio %.2f\n", std::max(v1, v3));
    return 0;
}
