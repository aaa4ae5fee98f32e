#include "gui/logic/desktop_reporter.h"

#include "chess/position.h"

namespace corvid {

namespace {

std::shared_ptr<const SearchReportCopy> copyReport(const SearchReport& report) {
    auto copy = std::make_shared<SearchReportCopy>();
    copy->report = report;
    if (report.root) {
        auto root = std::make_shared<Position>(*report.root);
        copy->report.root = root.get();
        copy->root = std::move(root);
    } else {
        copy->report.root = nullptr;
    }
    return copy;
}

DesktopEvent textEvent(DesktopEventKind kind, const char* title, const char* text) {
    DesktopEvent event;
    event.kind = kind;
    event.title = title ? title : "";
    event.text = text ? text : "";
    return event;
}

} // namespace

void DesktopReporter::attach(Poster poster, PromotionAsker asker) {
    std::lock_guard<std::mutex> lock(mutex_);
    poster_ = std::move(poster);
    asker_ = std::move(asker);
    windowThread_ = std::this_thread::get_id();
}

void DesktopReporter::detach() {
    std::lock_guard<std::mutex> lock(mutex_);
    poster_ = nullptr;
    asker_ = nullptr;
    windowThread_ = std::thread::id();
}

void DesktopReporter::post(DesktopEvent&& event) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (poster_) poster_(std::move(event));
}

void DesktopReporter::searchProgress(const SearchReport& report) {
    DesktopEvent event;
    event.kind = DesktopEventKind::SearchProgress;
    event.search = copyReport(report);
    post(std::move(event));
}

void DesktopReporter::searchLines(const SearchReport& report) {
    DesktopEvent event;
    event.kind = DesktopEventKind::SearchLines;
    event.search = copyReport(report);
    post(std::move(event));
}

void DesktopReporter::ponderMove(const char* san) {
    post(textEvent(DesktopEventKind::PonderMove, "", san));
}

void DesktopReporter::statusText(const char* text) {
    post(textEvent(DesktopEventKind::Status, "", text));
}

void DesktopReporter::messageBox(const char* title, const char* text) {
    post(textEvent(DesktopEventKind::Message, title, text));
}

void DesktopReporter::boardChanged() {
    DesktopEvent event;
    event.kind = DesktopEventKind::Game;
    event.game = std::make_shared<const GameSnapshot>(takeGameSnapshot());
    post(std::move(event));
}

void DesktopReporter::moveListChanged() { boardChanged(); }

int DesktopReporter::promotionPiece() {
    PromotionAsker asker;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (std::this_thread::get_id() != windowThread_) return Queen;
        asker = asker_;
    }
    int piece = asker ? asker() : Queen;
    return piece >= Knight && piece <= Queen ? piece : Queen;
}

DesktopReporter& desktopReporter() {
    static DesktopReporter instance;
    return instance;
}

void installDesktopReporter() { setReporter(&desktopReporter()); }

} // namespace corvid
