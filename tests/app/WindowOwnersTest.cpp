// SPDX-License-Identifier: GPL-3.0-or-later
// The owners of the window's asynchronous state, without a window: a late picture reaches the
// view only while its pick waits for it, and a command's outcomes reach only entries still
// listed.

#include <gtest/gtest.h>

#include <QListWidgetItem>

#include "app/CommandAtWork.h"
#include "app/SourcePick.h"

namespace pictaria {
namespace {

PictureRequest requestFor(const std::string& path) {
    PictureRequest request;
    request.path = path;
    request.paneWidth = 400;
    request.paneHeight = 300;
    return request;
}

TEST(SourcePickTest, ALatePictureIsTakenOnlyByThePickWaitingForIt) {
    QListWidgetItem first("a.jpg");
    QListWidgetItem second("b.jpg");
    SourcePick pick;

    pick.pick(&first, "C:\\a.jpg");
    pick.await(requestFor("C:\\a.jpg"));
    pick.pick(&second, "C:\\b.jpg");  // a later pick: a's picture is no longer wanted
    EXPECT_FALSE(pick.arrived(requestFor("C:\\a.jpg")));
    EXPECT_EQ(pick.view(), SourcePick::View::Empty);

    pick.await(requestFor("C:\\b.jpg"));
    EXPECT_FALSE(pick.arrived(requestFor("C:\\a.jpg")));
    EXPECT_TRUE(pick.arrived(requestFor("C:\\b.jpg")));
    EXPECT_FALSE(pick.arrived(requestFor("C:\\b.jpg")));  // taken once
    pick.shown();

    EXPECT_FALSE(pick.left(&first));
    EXPECT_EQ(pick.entry(), &second);
    pick.listReplaced();  // another folder opened: the picture stays, owned by no entry
    EXPECT_EQ(pick.view(), SourcePick::View::Kept);
    EXPECT_FALSE(pick.left(&second));

    pick.pick(&first, "C:\\a.jpg");
    pick.await(requestFor("C:\\a.jpg"));
    EXPECT_TRUE(pick.left(&first));  // the entry moved away while its picture was read
    EXPECT_FALSE(pick.arrived(requestFor("C:\\a.jpg")));
    EXPECT_EQ(pick.entry(), nullptr);
}

TEST(CommandAtWorkTest, OutcomesReachOnlyTheEntriesStillListed) {
    QListWidgetItem a("a.jpg");
    QListWidgetItem b("b.jpg");
    QListWidgetItem c("c.jpg");
    CommandAtWork command;
    command.begin({{0, &a}, {2, &b}, {5, &c}});
    command.run(nullptr, QStringLiteral("移動"), CommandAtWork::ListChange::RemoveDone,
                {"C:\\Pics", "D:\\Sorted"}, {});

    EXPECT_EQ(command.record(2, FileOutcome{}), &b);
    command.left(&c);  // taken off the list while the job runs
    EXPECT_EQ(command.record(5, FileOutcome{}), nullptr);
    EXPECT_EQ(command.waiting(), std::vector<CommandAtWork::Entry>{&a});
    EXPECT_EQ(command.outcomes().size(), 2u);
    EXPECT_EQ(command.entriesOf({BatchItem{0, "a.jpg"}, BatchItem{5, "c.jpg"}}).size(), 1u);
    EXPECT_TRUE(command.touches("D:\\Sorted"));
    EXPECT_FALSE(command.touches("D:\\"));

    BatchProgress progress;
    progress.filesDone = 3;
    progress.filesTotal = 40;
    progress.current = "DSC_5003.JPG";
    EXPECT_TRUE(command.progressText(progress).startsWith(QStringLiteral("移動\n3 / 40 枚")));
    EXPECT_TRUE(command.progressText(progress).endsWith(QStringLiteral("\nDSC_5003.JPG")));

    command.begin({{1, &b}});  // the next command forgets the last one's outcomes
    EXPECT_TRUE(command.outcomes().empty());
    EXPECT_FALSE(command.touches("D:\\Sorted"));
}

}  // namespace
}  // namespace pictaria
