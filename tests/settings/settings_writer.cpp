// The child of the durability test: stores the writes of a sequence one after the other from a
// given one on, as the program does when the user changes settings, until it is done or its CPU
// budget runs out. The budget is CPU time (ITIMER_PROF), not time on the clock, so where the
// child stops does not depend on how loaded the machine is; SIGPROF's default action ends the
// process at once, wherever in a write it is, as a kill would.
#include "WriteSequence.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>

#include <sys/time.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s SETTINGS_FILE SEQUENCE COUNT FIRST CPU_MICROSECONDS\n",
                     argv[0]);
        return 2;
    }
    cirrolux::SettingsStore store(QString::fromLocal8Bit(argv[1]));
    const auto writes = cirrolux::test::WriteSequence(unsigned(std::strtoul(argv[2], nullptr, 10)),
                                                      std::atoi(argv[3]));
    const long budget = std::atol(argv[5]);
    std::puts("ready");
    std::fflush(stdout);
    if (budget > 0) {
        itimerval timer{};
        timer.it_value.tv_sec = budget / 1000000;
        timer.it_value.tv_usec = budget % 1000000;
        if (setitimer(ITIMER_PROF, &timer, nullptr) != 0)
            return 3;
    }
    for (std::size_t i = std::size_t(std::atoi(argv[4])); i < writes.size(); ++i)
        store.write_setting(cirrolux::SettingNames::Settings, writes[i].name, writes[i].value);
    std::puts("done");
    return 0;
}
