#include "GifTestFiles.h"
#include "TempDir.h"
#include "platform/window/MemoryWindowSystem.h"
#include "saver/PictureWorker.h"

#include <gtest/gtest.h>

using namespace testing_support;

// One worker serves every window: pictures come back on the event loop in
// the order asked, and a window that has gone is handed nothing, even a
// picture finished before it went.
TEST(PictureWorker, DeliversInTheOrderAskedAndNothingToAWindowThatWent) {
    TempDir dir;
    MemoryWindowSystem system;
    for (int width : {1, 2, 3})
        WriteFile(dir / (std::to_string(width) + ".gif"), SimpleGif(width, 1, Indices(width, 0), {{1, 2, 3}, {}}));
    PictureWorker& worker = PictureWorker::Get();
    std::vector<std::string> delivered;
    const auto client = [&](std::string name) {
        return worker.Register([&delivered, name](LoadedPicture p) { delivered.push_back(name + std::to_string(p.width)); });
    };
    const PictureWorker::Client a = client("a"), b = client("b"), c = client("c");
    worker.Request(b, dir / "2.gif", "");
    worker.Request(a, dir / "1.gif", "");
    worker.Request(c, dir / "3.gif", "");
    worker.Unregister(c);
    worker.WaitIdle();
    system.RunTasks();
    EXPECT_EQ(delivered, (std::vector<std::string>{"b2", "a1"}));
    worker.Request(a, dir / "3.gif", "");
    worker.Request(b, dir / "1.gif", "");
    worker.WaitIdle();
    worker.Unregister(b);
    system.RunTasks();
    EXPECT_EQ(delivered, (std::vector<std::string>{"b2", "a1", "a3"}));
    worker.Unregister(a);
}
