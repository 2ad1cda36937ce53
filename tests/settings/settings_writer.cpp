// The child of the durability test: stores the writes of a sequence one after the other from a
// given one on, as the program does when the user changes settings, until it is killed or done.
#include "WriteSequence.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s SETTINGS_FILE SEQUENCE COUNT FIRST\n", argv[0]);
        return 2;
    }
    cirrolux::SettingsStore store(QString::fromLocal8Bit(argv[1]));
    const auto writes = cirrolux::test::WriteSequence(unsigned(std::strtoul(argv[2], nullptr, 10)),
                                                      std::atoi(argv[3]));
    std::puts("ready");
    std::fflush(stdout);
    for (std::size_t i = std::size_t(std::atoi(argv[4])); i < writes.size(); ++i)
        store.write_setting(cirrolux::SettingNames::Settings, writes[i].name, writes[i].value);
    std::puts("done");
    return 0;
}
