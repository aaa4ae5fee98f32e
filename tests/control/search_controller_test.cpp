// The hand-over between the command side and the search thread: requests, stops and ponder
// hits given at any moment reach the request they are meant for.
#include "control/search_controller.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace corvid {
namespace {

class Controller : public ::testing::Test {
protected:
    void SetUp() override {
        searchInfo.stopRequest.store(StopRequest::None);
        searchInfo.ponderState.store(PonderState::None);
    }
    void TearDown() override { SetUp(); }
    SearchController controller;
};

TEST_F(Controller, AStopGivenBeforeTheRequestIsTakenIsKept) {
    controller.post(SearchRequest::Think);
    controller.requestStop(StopRequest::MoveNow);
    EXPECT_FALSE(controller.idle());
    EXPECT_EQ(controller.take(), SearchRequest::Think);
    EXPECT_EQ(searchInfo.stopRequest.load(), StopRequest::MoveNow); // taking does not clear it
    controller.requestStop(StopRequest::Abort);
    controller.requestStop(StopRequest::MoveNow); // never weakens an abort
    EXPECT_EQ(searchInfo.stopRequest.load(), StopRequest::Abort);
    controller.finish(false);
    EXPECT_TRUE(controller.idle());
    controller.post(SearchRequest::Analyze); // a new request starts without a stop
    EXPECT_EQ(searchInfo.stopRequest.load(), StopRequest::None);
    controller.take();
    controller.finish(false);
}

TEST_F(Controller, PonderHitReachesAPendingPonderRequest) {
    controller.post(SearchRequest::Ponder);
    EXPECT_EQ(searchInfo.ponderState.load(), PonderState::Pondering); // set with the post
    EXPECT_TRUE(controller.swapPonderState(PonderState::Pondering, PonderState::PonderHit));
    EXPECT_EQ(controller.take(), SearchRequest::Ponder);
    controller.waitForPonderEnd(); // returns at once: the hit came before the search began
    EXPECT_FALSE(controller.swapPonderState(PonderState::Pondering, PonderState::PonderMiss));
    controller.finish(false);
}

TEST_F(Controller, FollowUpThinkOnlyWithoutAStopOrAnotherRequest) {
    controller.post(SearchRequest::Think);
    controller.take();
    controller.finish(true);
    EXPECT_FALSE(controller.idle()); // the follow-up think is pending
    EXPECT_EQ(controller.take(), SearchRequest::Think);
    controller.requestStop(StopRequest::Abort);
    controller.finish(true);
    EXPECT_TRUE(controller.idle()); // stopped: no follow-up
}

TEST_F(Controller, WaitUntilIdleReturnsOnlyAfterTheRunningRequestFinishes) {
    controller.post(SearchRequest::Think);
    std::atomic<bool> finished{false};
    std::thread searchSide([&] {
        controller.take();
        controller.waitForStop();
        finished.store(true);
        controller.finish(true);
    });
    controller.requestStop(StopRequest::Abort);
    controller.waitUntilIdle();
    EXPECT_TRUE(finished.load());
    EXPECT_TRUE(controller.idle());
    searchSide.join();
}

} // namespace
} // namespace corvid
