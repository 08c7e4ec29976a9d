#include "objects/Behavior.h"
#include "objects/GameObject.h"
#include "shell/Game.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
std::vector<std::string> calls;

// Records every call; runs a script from HandleInput ('I') or Update ('U').
class ScriptedBehavior : public Behavior
{
public:
    using Script = std::function<void(ScriptedBehavior*)>;
    ScriptedBehavior(std::string name, char when = 0, Script script = {})
        : name(std::move(name)), when(when), script(std::move(script))
    {
    }
    void HandleInput() override { Record(".HandleInput", 'I'); }
    void Start() override { Record(".Start", 0); }
    void Update() override { Record(".Update", 'U'); }

private:
    void Record(const char* call, char pass)
    {
        calls.push_back(name + call);
        if (script && pass == when)
            script(this);
    }
    std::string name;
    char when;
    Script script;
};

GameObject* MakeObject(const std::string& name, char when = 0, ScriptedBehavior::Script script = {})
{
    auto* object = new GameObject();
    object->AddComponent(new ScriptedBehavior(name, when, std::move(script)));
    return object;
}

// Runs the passes named ("I" input, "U" update) on a fresh root holding
// `object`, and returns the calls they made.
std::vector<std::string> RunPasses(GameObject* object, const std::string& passes)
{
    calls.clear();
    GameObject root;
    root.AddChild(object);
    for (char pass : passes)
        pass == 'I' ? Game::HandleInputPass(&root) : Game::UpdatePass(&root);
    return calls;
}

using Calls = std::vector<std::string>;
} // namespace

TEST(GameTest, VisitInPreOrderAndStartOnceBeforeTheFirstUpdate)
{
    GameObject* a = MakeObject("a");
    a->AddChild(MakeObject("a1"));
    a->AddChild(MakeObject("a2"));
    EXPECT_EQ(RunPasses(a, "IUIU"),
              (Calls{"a.HandleInput", "a1.HandleInput", "a2.HandleInput", "a.Start", "a.Update",
                     "a1.Start", "a1.Update", "a2.Start", "a2.Update", "a.HandleInput",
                     "a1.HandleInput", "a2.HandleInput", "a.Update", "a1.Update", "a2.Update"}));
}

TEST(GameTest, WhatAPassChangesUnderItsObjectIsVisitedAsSoonAsItIsThere)
{
    // Children added by HandleInput get the rest of the same frame.
    auto spawn = [](ScriptedBehavior* self) { self->owner->AddChild(MakeObject("ball")); };
    EXPECT_EQ(RunPasses(MakeObject("screen", 'I', spawn), "IU"),
              (Calls{"screen.HandleInput", "ball.HandleInput", "screen.Start", "screen.Update",
                     "ball.Start", "ball.Update"}));

    // Children removed by HandleInput are not visited.
    auto removeFirst = [](ScriptedBehavior* self)
    {
        GameObject* child = self->owner->children.front();
        child->parent = nullptr;
        self->owner->children.erase(self->owner->children.begin());
        delete child;
    };
    GameObject* screen = MakeObject("screen", 'I', removeFirst);
    screen->AddChild(MakeObject("old"));
    screen->AddChild(MakeObject("kept"));
    EXPECT_EQ(RunPasses(screen, "I"), (Calls{"screen.HandleInput", "kept.HandleInput"}));

    // A behaviour appended by HandleInput waits for the next input pass; one
    // appended by Update, and a child, start and update in the same pass.
    auto appendOnce = [](ScriptedBehavior* self)
    {
        if (self->owner->behaviors.size() == 1)
            self->owner->AddComponent(new ScriptedBehavior("late"));
    };
    EXPECT_EQ(RunPasses(MakeObject("first", 'I', appendOnce), "IUI"),
              (Calls{"first.HandleInput", "first.Start", "first.Update", "late.Start",
                     "late.Update", "first.HandleInput", "late.HandleInput"}));
    auto grow = [](ScriptedBehavior* self)
    {
        if (self->owner->children.empty())
        {
            self->owner->AddChild(MakeObject("child"));
            self->owner->AddComponent(new ScriptedBehavior("sibling"));
        }
    };
    EXPECT_EQ(RunPasses(MakeObject("grower", 'U', grow), "U"),
              (Calls{"grower.Start", "grower.Update", "sibling.Start", "sibling.Update",
                     "child.Start", "child.Update"}));
}

TEST(GameTest, AFailedConstructionReleasesWhatItMade)
{
    TempFolder folder;
    // No music folder: construction fails and deletes what it made (the
    // leak checker of the sanitizer build sees the rest).
    WorkingDirectory workingDirectory(folder.Path());
    EXPECT_THROW(Game(), std::exception);
    EXPECT_EQ(Game::Root, nullptr);
}
