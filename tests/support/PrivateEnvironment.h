#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QTest>

// Points every store the program touches into a folder of the test run, before anything reads
// them: HOME (with a Desktop), the XDG folders, both settings hives.
class PrivateEnvironment
{
public:
    // root/home, root/config, root/cache, root/data, root/run (owner only), root/clips, and the
    // hives root/user.reg and root/machine.reg.
    static void use(const QString& root);
    // Only the two settings hives, as dir/user.reg and dir/machine.reg.
    static void useHives(const QString& dir);

    // main() of a test whose stores all live in one private folder of the run: the test object
    // is made with that folder, after the environment and the application.
    template <class Application, class Test> static int exec(int argc, char** argv)
    {
        QTemporaryDir root;
        use(root.path());
        Application app(argc, argv);
        Test test(root.path());
        return QTest::qExec(&test, argc, argv);
    }
};
