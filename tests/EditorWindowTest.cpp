// Opens the built plug-in's editor in a real top-level window, the way a Linux host does,
// and types into it with real X input (xdotool through the XTEST extension): keyboard
// focus inside a plug-in window is where Linux hosts and plug-ins most often fail.
//
// A JUCE host keeps the X focus on a key proxy window of its own, so keys reach the
// plug-in's window only once a click has given that window the focus, as a user does.
#include "tools/HostedPlugin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include <unistd.h>

namespace
{
constexpr int commandTimeoutMs = 8000;
constexpr int changeTimeoutMs = 3000;
constexpr int attempts = 3;

// Between the lowest module box and the help line of the text view: a click there hits
// no row and no button.
const juce::Point<int> emptySpot { 500, 670 };

/** A plain top-level window, as a host opens one for a plug-in's editor. */
class HostWindow final : public juce::DocumentWindow
{
public:
    HostWindow (const juce::String& title, juce::Component& content)
        : juce::DocumentWindow (title, juce::Colours::black, 0, false)
    {
        setUsingNativeTitleBar (true);
        setContentNonOwned (&content, true);
        setTopLeftPosition (40, 40);
        addToDesktop();
        setVisible (true);
        toFront (true);
    }

    void closeButtonPressed() override {}
};

/** Keeps the message loop running until the condition holds or the time is up. */
bool dispatchUntil (const std::function<bool()>& condition, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + static_cast<juce::uint32> (timeoutMs);

    while (! condition())
    {
        if (juce::Time::getMillisecondCounter() >= end)
            return false;

        juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    }

    return true;
}

void dispatchFor (int milliseconds)
{
    dispatchUntil ([] { return false; }, milliseconds);
}

/** Runs xdotool while the message loop goes on, so that both windows keep answering the X server. */
bool xdotool (const juce::StringArray& arguments, juce::String& output)
{
    juce::StringArray command { "xdotool" };
    command.addArray (arguments);

    juce::ChildProcess process;

    if (! process.start (command))
    {
        output = "could not start xdotool";
        return false;
    }

    const auto finished = dispatchUntil ([&process] { return ! process.isRunning(); }, commandTimeoutMs);
    output = process.readAllProcessOutput().trim();

    if (! finished)
    {
        process.kill();
        output = "timed out: " + command.joinIntoString (" ");
    }

    return finished && process.getExitCode() == 0;
}

bool xdotoolIsInstalled()
{
    return std::system ("command -v xdotool >/dev/null 2>&1") == 0;
}

class EditorWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv ("DISPLAY") == nullptr)
            GTEST_SKIP() << "no X display; run it under tools/with-display.sh";

        ASSERT_TRUE (xdotoolIsInstalled()) << "xdotool is missing; tools/bootstrap.sh installs it";

        juce::String error;
        plugin = kelvarn::hosting::loadBundle (KELVARN_VST3_BUNDLE, 48000.0, 512, error);
        ASSERT_NE (plugin, nullptr) << error;

        editor.reset (plugin->createEditorIfNeeded());
        ASSERT_NE (editor, nullptr);

        window = std::make_unique<HostWindow> (title, *editor);
        ASSERT_TRUE (dispatchUntil ([this] { return window->isShowing() && window->getPeer() != nullptr; },
                                    commandTimeoutMs));

        juce::String output;
        ASSERT_TRUE (xdotool ({ "search", "--sync", "--limit", "1", "--name", "^" + title + "$" }, output)) << output;
        windowId = output;
    }

    void TearDown() override
    {
        window.reset();
        editor.reset();
        plugin.reset();
    }

    juce::AudioProcessorParameter* parameter (const juce::String& name) const
    {
        for (auto* p : plugin->getParameters())
            if (p->getName (100) == name)
                return p;

        ADD_FAILURE() << "no parameter named " << name;
        return nullptr;
    }

    /** Activates the window and clicks into the editor, which takes the keyboard focus. */
    void focusEditor()
    {
        juce::String output;
        EXPECT_TRUE (xdotool ({ "windowactivate", "--sync", windowId }, output)) << output;
        EXPECT_TRUE (xdotool ({ "mousemove", "--window", windowId, juce::String (emptySpot.x),
                               juce::String (emptySpot.y) }, output)) << output;
        EXPECT_TRUE (xdotool ({ "click", "1" }, output)) << output;
        dispatchFor (200);
    }

    /** Types the keys as real key events until the host sees the change: the window
        manager may hand the focus over late, so a missed attempt focuses again. */
    bool typeUntil (const juce::StringArray& keys, const std::function<bool()>& changed)
    {
        juce::StringArray arguments { "key", "--delay", "60" };
        arguments.addArray (keys);

        for (int attempt = 0; attempt < attempts && ! changed(); ++attempt)
        {
            if (attempt > 0)
                focusEditor();

            juce::String output;
            EXPECT_TRUE (xdotool (arguments, output)) << output;

            if (dispatchUntil (changed, changeTimeoutMs))
                return true;
        }

        return changed();
    }

    const juce::String title = "kelvarn window test " + juce::String (static_cast<int> (getpid()));
    juce::String windowId;
    std::unique_ptr<juce::AudioPluginInstance> plugin;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
    std::unique_ptr<HostWindow> window;
};

TEST_F (EditorWindow, KeysTypedIntoTheEditorReachTheHostAsParameterChanges)
{
    auto* fetEnable = parameter ("FET Enable");
    auto* fetInput = parameter ("FET Input");
    ASSERT_NE (fetEnable, nullptr);
    ASSERT_NE (fetInput, nullptr);
    ASSERT_EQ (fetEnable->getValue(), 0.0f);
    const auto inputBefore = fetInput->getValue();

    focusEditor();

    // The editor opens on FET76 with its cursor on the ENABLE row.
    EXPECT_TRUE (typeUntil ({ "space" }, [fetEnable] { return fetEnable->getValue() > 0.5f; }))
        << "Space did not switch FET76 on";

    // "s" moves the cursor to FET INPUT, which "x" raises by 0.02.
    EXPECT_TRUE (typeUntil ({ "s", "x" }, [fetInput, inputBefore] { return fetInput->getValue() > inputBefore + 0.01f; }))
        << "S and X did not raise FET INPUT";
    EXPECT_NEAR (fetInput->getValue(), inputBefore + 0.02f, 1.0e-4f);
}
} // namespace
