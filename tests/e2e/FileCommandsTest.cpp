// The typical sort and the other commands on ticked photographs, as a user does them.

#include "e2e/PictariaSession.h"

namespace pictaria::e2e {
namespace {

using EndToEndFileCommands = PictariaSession;

TEST_F(EndToEndFileCommands, MoveTakesTheTickedPhotographsToTheDestinationAndOffTheList) {
    std::vector<std::string> names;
    for (const char* name :
         {"p01", "p02", "p03", "p04", "p05", "p06", "p07", "p08", "p09", "p10"}) {
        names.push_back(std::string(name) + ".jpg");
    }
    const FolderContents photos = writePhotos("card", names);
    makeFolder("sorted");
    startProgram(host("card"));

    openSourceFolder();
    ASSERT_EQ(visibleSourceEntries(), 10);
    for (const int entry : {0, 1, 3, 5}) {
        pickAndTick(entry);
    }
    walkToDestination(host("sorted"));
    press(kMoveButton);

    FolderContents expectedArrived;
    FolderContents expectedLeft = photos;
    for (const std::string name : {"p01.jpg", "p02.jpg", "p04.jpg", "p06.jpg"}) {
        expectedArrived.emplace(name, photos.at(name));
        expectedLeft.erase(name);
    }
    EXPECT_EQ(waitForFiles("sorted", 4), expectedArrived);
    EXPECT_EQ(contentsOf("card"), expectedLeft);
    settle();
    EXPECT_EQ(visibleSourceEntries(), 6);
}

// A right click on a name picks nothing, so the click on the large picture after it ticks
// nothing; a left drag down the list ticks the five names it passes, and only those move.
TEST_F(EndToEndFileCommands, RightClickThenDragTickMovesExactlyTheDraggedFive) {
    std::vector<std::string> names;
    for (int i = 1; i <= 20; ++i) {
        names.push_back((i < 10 ? "IMG_000" : "IMG_00") + std::to_string(i) + ".JPG");
    }
    const FolderContents photos = writePhotos("card", names);
    makeFolder("sorted");
    startProgram(host("card"));

    openSourceFolder();
    ASSERT_EQ(visibleSourceEntries(), 20);
    rightClick(sourceEntry(2));
    desktop_->pressKeys({"Escape"});
    settle();
    click(kLargePicture);
    drag(sourceEntry(6), sourceEntry(10));
    walkToDestination(host("sorted"));
    press(kMoveButton);

    FolderContents expectedArrived;
    for (int entry = 6; entry <= 10; ++entry) {
        expectedArrived.emplace(names[entry], photos.at(names[entry]));
    }
    EXPECT_EQ(waitForFiles("sorted", 5), expectedArrived);
    EXPECT_EQ(contentsOf("card").size(), 15u);
    settle();
    EXPECT_EQ(visibleSourceEntries(), 15);
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
