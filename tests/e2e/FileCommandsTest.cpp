// The typical sort and the other commands on ticked photographs, as a user does them.

#include "e2e/PictariaSession.h"

namespace pictaria::e2e {
namespace {

using EndToEndFileCommands = PictariaSession;

TEST_F(EndToEndFileCommands, MoveTakesTheTickedPhotographsToTheDestinationAndOffTheList) {
    const FolderContents photos =
        writePhotos("card", {"p1.jpg", "p2.jpg", "p3.jpg", "p4.jpg", "p5.jpg", "p6.jpg"});
    makeFolder("sorted");
    startProgram(host("card"));

    openSourceFolder();
    ASSERT_EQ(visibleSourceEntries(), 6);
    for (const int entry : {0, 2, 4}) {
        pickAndTick(entry);
    }
    walkToDestination(host("sorted"));
    press(kMoveButton);

    const FolderContents arrived = waitForFiles("sorted", 3);
    EXPECT_EQ(arrived, (FolderContents{{"p1.jpg", photos.at("p1.jpg")},
                                       {"p3.jpg", photos.at("p3.jpg")},
                                       {"p5.jpg", photos.at("p5.jpg")}}));
    EXPECT_EQ(contentsOf("card"), (FolderContents{{"p2.jpg", photos.at("p2.jpg")},
                                                  {"p4.jpg", photos.at("p4.jpg")},
                                                  {"p6.jpg", photos.at("p6.jpg")}}));
    settle();
    EXPECT_EQ(visibleSourceEntries(), 3);
}

TEST_F(EndToEndFileCommands, CopyKeepsTheSourceAndGivesACollidingPhotographANewName) {
    const FolderContents photos = writePhotos("card", {"a.jpg", "b.jpg", "c.jpg"});
    const FolderContents earlier = writePhotos("sorted", {"b.jpg"}, {Qt::black});
    startProgram(host("card"));

    openSourceFolder();
    for (const int entry : {0, 1, 2}) {
        pickAndTick(entry);
    }
    walkToDestination(host("sorted"));
    press(kCopyButton);

    EXPECT_EQ(waitForFiles("sorted", 4), (FolderContents{{"a.jpg", photos.at("a.jpg")},
                                                         {"b.jpg", earlier.at("b.jpg")},
                                                         {"b2.jpg", photos.at("b.jpg")},
                                                         {"c.jpg", photos.at("c.jpg")}}));
    EXPECT_EQ(contentsOf("card"), photos);
    EXPECT_EQ(visibleSourceEntries(), 3);
}

TEST_F(EndToEndFileCommands, DeleteRemovesOnlyTheTickedPhotographs) {
    const FolderContents photos = writePhotos("card", {"d1.jpg", "d2.jpg", "d3.jpg", "d4.jpg"});
    startProgram(host("card"));

    openSourceFolder();
    pickAndTick(1);
    pickAndTick(3);
    press(kDeleteButton);

    EXPECT_EQ(waitForFiles("card", 2),
              (FolderContents{{"d1.jpg", photos.at("d1.jpg")}, {"d3.jpg", photos.at("d3.jpg")}}));
    settle();
    EXPECT_EQ(visibleSourceEntries(), 2);
}

}  // namespace
}  // namespace pictaria::e2e
