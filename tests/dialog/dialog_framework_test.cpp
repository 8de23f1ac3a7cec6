// The framework's message-map routing, default handling and thread-safe posting, seen through a
// small dialog of the test's own on the in-memory backend.
#include <gtest/gtest.h>

#include <atomic>
#include <iterator>
#include <thread>
#include <vector>

#include "dialog/dialog.h"
#include "dialog/memory/memory_dialog_host.h"
#include "res/generated_resource_catalog.h"
#include "res/resource_ids.h"

namespace {

constexpr unsigned kWmTestPrivate = 0x8123;

class RoutingDialog : public CDialog {
public:
    explicit RoutingDialog(DialogBackend& backend) : CDialog(IDD_MAIN, backend) {}

    std::vector<std::string> calls;
    bool deferToDefault = false;
    std::atomic<int> privateMessages{0};
    std::function<void()> duringTimer;

    using CDialog::ComboInsertString;
    using CDialog::EditReplaceSel;
    using CDialog::EditSetSel;
    using CDialog::SetControlText;
    using CDialog::SetTimer;
    using CDialog::ShowMessageBox;

protected:
    const MessageMap& GetMessageMap() const override {
        static constexpr MessageMapEntry kEntries[] = {
            MapClicked<&RoutingDialog::OnApply>(IDC_APPLY),
            MapCommand<&RoutingDialog::OnComboChange>(kCbnSelChange, IDC_DRIVE_COMBO),
            MapTimer<&RoutingDialog::OnTimer>(),
            MapSysCommand<&RoutingDialog::OnSysCommand>(),
            MapMessage<&RoutingDialog::OnPrivate>(kWmTestPrivate),
        };
        static const MessageMap kMap{&CDialog::BaseMessageMap(), kEntries, std::size(kEntries)};
        return kMap;
    }

private:
    void OnApply() { calls.push_back("apply"); }
    void OnComboChange() { calls.push_back("combo " + std::to_string(ComboGetCurSel(1000))); }
    void OnTimer(unsigned id) {
        calls.push_back("timer " + std::to_string(id));
        // Runs once; taken out first so that it may set the next one.
        const std::function<void()> nested = std::move(duringTimer);
        duringTimer = nullptr;
        if (nested) {
            nested();
        }
        if (deferToDefault) {
            Default();
        }
    }
    void OnSysCommand(unsigned id, intptr_t) {
        calls.push_back("syscommand " + std::to_string(id));
        Default();
    }
    intptr_t OnPrivate(uintptr_t wParam, intptr_t lParam) {
        ++privateMessages;
        return static_cast<intptr_t>(wParam) + lParam;
    }
};

TEST(MessageMap, RoutesByMessageControlAndNotification) {
    MemoryDialogHost host{GeneratedResourceCatalog()};
    RoutingDialog dialog(host);
    ASSERT_TRUE(host.Open(dialog));

    EXPECT_TRUE(host.Click(IDC_APPLY));
    // A click notification from the combo's id must not reach a handler of another code.
    EXPECT_FALSE(host.Send(kWmCommand, MakeCommandParam(IDC_DRIVE_COMBO, kBnClicked), 0).handled);
    EXPECT_TRUE(host.Send(kWmCommand, MakeCommandParam(IDC_DRIVE_COMBO, kCbnSelChange), 0).handled);
    // Apply's id with another notification code is not a click either.
    EXPECT_FALSE(host.Send(kWmCommand, MakeCommandParam(IDC_APPLY, kCbnSelChange), 0).handled);
    EXPECT_EQ(host.Send(kWmTestPrivate, 40, 2).result, 42);

    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"apply", "combo -1"}));
    EXPECT_FALSE(host.Send(kWmPaint, 0, 0).handled);  // no entry: default handling
}

TEST(MessageMap, BaseMapEndsTheDialogWithOkAndCancel) {
    MemoryDialogHost host{GeneratedResourceCatalog()};
    RoutingDialog ok(host);
    ASSERT_TRUE(host.Open(ok));
    host.Send(kWmCommand, MakeCommandParam(kIdOk, kBnClicked), 0);
    EXPECT_FALSE(host.IsOpen(ok));
    EXPECT_EQ(host.ResultOf(ok), kIdOk);

    RoutingDialog cancel(host);
    ASSERT_TRUE(host.Open(cancel));
    EXPECT_TRUE(host.Click(kIdCancel));
    EXPECT_FALSE(host.IsOpen(cancel));
    EXPECT_EQ(host.ResultOf(cancel), kIdCancel);
}

TEST(MessageMap, DefaultFromAHandlerLeavesTheMessageToTheDefaultHandling) {
    MemoryDialogHost host{GeneratedResourceCatalog()};
    RoutingDialog dialog(host);
    ASSERT_TRUE(host.Open(dialog));

    EXPECT_TRUE(host.Send(kWmTimer, 3, 0).handled);
    dialog.deferToDefault = true;
    EXPECT_FALSE(host.Send(kWmTimer, 3, 0).handled);
    // The handler ran although the message went on to the default handling: SC_CLOSE closes.
    host.SendSysCommand(kScClose);
    EXPECT_FALSE(host.IsOpen(dialog));
    EXPECT_EQ(dialog.calls.back(), "syscommand " + std::to_string(kScClose));
}

TEST(MessageMap, NestedMessagesDoNotChangeTheOuterMessagesDefaultRequest) {
    MemoryDialogHost host{GeneratedResourceCatalog()};
    RoutingDialog dialog(host);
    ASSERT_TRUE(host.Open(dialog));

    // The outer timer message is handled; a nested system command inside it asks for the
    // default handling, which must not leak into the outer result.
    dialog.duringTimer = [&] { EXPECT_FALSE(host.Send(kWmSysCommand, kScMinimize, 0).handled); };
    EXPECT_TRUE(host.Send(kWmTimer, 0, 0).handled);

    // And the other way round: the outer one defers, the nested one is handled.
    dialog.deferToDefault = true;
    dialog.duringTimer = [&] { EXPECT_TRUE(host.Send(kWmTestPrivate, 0, 0).handled); };
    EXPECT_FALSE(host.Send(kWmTimer, 0, 0).handled);
}

TEST(PostedMessages, ArriveFromManyThreadsOnThePumpAndNotBefore) {
    MemoryDialogHost host{GeneratedResourceCatalog()};
    RoutingDialog dialog(host);
    ASSERT_TRUE(host.Open(dialog));

    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([&] {
            for (int i = 0; i < 100; ++i) {
                EXPECT_TRUE(dialog.PostToWindow(kWmTestPrivate, 0, 0));
            }
        });
    }
    for (auto& worker : workers) {
        worker.join();
    }
    EXPECT_EQ(dialog.privateMessages, 0);
    EXPECT_EQ(host.PumpPostedMessages(), 400);
    EXPECT_EQ(dialog.privateMessages, 400);
}

TEST(PostedMessages, AreRefusedOnceTheWindowIsGoneAndQueuedOnesAreDropped) {
    MemoryDialogHost host{GeneratedResourceCatalog()};
    RoutingDialog dialog(host);
    ASSERT_TRUE(host.Open(dialog));
    EXPECT_TRUE(dialog.PostToWindow(kWmTestPrivate, 0, 0));
    host.PressKey(DialogKey::kEscape);
    ASSERT_FALSE(host.IsOpen(dialog));

    EXPECT_FALSE(dialog.PostToWindow(kWmTestPrivate, 0, 0));
    EXPECT_EQ(host.PumpPostedMessages(), 0);
    EXPECT_EQ(dialog.privateMessages, 0);
}

TEST(MessageBoxes, CarryOwnerAndApplicationNameAndLetTimersRunWhileOpen) {
    MemoryDialogHost host{GeneratedResourceCatalog()};
    RoutingDialog dialog(host);
    ASSERT_TRUE(host.Open(dialog));
    dialog.SetTimer(7, 2);
    host.SetMessageBoxAnswerer(
        [](MemoryDialogHost& open, const MessageBoxRecord&) { open.TickTimers(2); });

    EXPECT_EQ(dialog.ShowMessageBox("device open failed"), kIdOk);

    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].ownerTemplateId, IDD_MAIN);
    EXPECT_EQ(host.MessageBoxes()[0].title, "VelmoraDriveUtility");
    EXPECT_EQ(host.MessageBoxes()[0].text, "device open failed");
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"timer 7", "timer 7"}));
}

}  // namespace
