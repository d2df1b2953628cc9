// The typical sort and the other commands on ticked photographs, as a user does them.

#include "e2e/PictariaSession.h"

namespace pictaria::e2e {
namespace {

using FileCommands = PictariaSession;

TEST_F(FileCommands, MoveTakesTheTickedPhotographsToTheDestinationAndOffTheList) {
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

}  // namespace
}  // namespace pictaria::e2e
