#include "objects/Behavior.h"
#include "objects/GameObject.h"
#include "shell/Game.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{
std::vector<std::string> calls;

// Records every call and runs optional actions on its owner.
class ScriptedBehavior : public Behavior
{
public:
    explicit ScriptedBehavior(std::string name) : name(std::move(name)) {}
    void HandleInput() override
    {
        calls.push_back(name + ".HandleInput");
        if (onHandleInput)
            onHandleInput(this);
    }
    void Start() override { calls.push_back(name + ".Start"); }
    void Update() override
    {
        calls.push_back(name + ".Update");
        if (onUpdate)
            onUpdate(this);
    }

    std::string name;
    std::function<void(ScriptedBehavior*)> onHandleInput;
    std::function<void(ScriptedBehavior*)> onUpdate;
};

GameObject* MakeObject(const std::string& name, ScriptedBehavior** behavior = nullptr)
{
    auto* object = new GameObject();
    auto* b = new ScriptedBehavior(name);
    object->AddComponent(b);
    if (behavior)
        *behavior = b;
    return object;
}

int Count(const std::string& call)
{
    int n = 0;
    for (const std::string& c : calls)
        n += c == call;
    return n;
}
} // namespace

TEST(TreePasses, VisitInPreOrderAndStartOnceBeforeTheFirstUpdate)
{
    calls.clear();
    GameObject root;
    GameObject* a = MakeObject("a");
    a->AddChild(MakeObject("a1"));
    root.AddChild(a);
    root.AddChild(MakeObject("b"));

    Game::HandleInputPass(&root);
    Game::UpdatePass(&root);
    Game::HandleInputPass(&root);
    Game::UpdatePass(&root);

    std::vector<std::string> expected = {"a.HandleInput", "a1.HandleInput", "b.HandleInput", //
                                         "a.Start",       "a.Update",       "a1.Start",
                                         "a1.Update",     "b.Start",        "b.Update",      //
                                         "a.HandleInput", "a1.HandleInput", "b.HandleInput", //
                                         "a.Update",      "a1.Update",      "b.Update"};
    EXPECT_EQ(calls, expected);
}

TEST(TreePasses, ChildrenAddedDuringHandleInputRunInTheSameFrame)
{
    calls.clear();
    GameObject root;
    ScriptedBehavior* spawner = nullptr;
    GameObject* screen = MakeObject("screen", &spawner);
    root.AddChild(screen);
    spawner->onHandleInput = [](ScriptedBehavior* self)
    {
        for (int i = 0; i < 10; ++i)
            self->owner->AddChild(MakeObject("ball"));
    };

    Game::HandleInputPass(&root);
    EXPECT_EQ(Count("ball.HandleInput"), 10);
    Game::UpdatePass(&root);
    EXPECT_EQ(Count("ball.Start"), 10);
    EXPECT_EQ(Count("ball.Update"), 10);
    // Each new ball gets HandleInput, then Start, then Update.
    EXPECT_EQ(screen->children.size(), 10u);
}

TEST(TreePasses, ChildrenRemovedDuringHandleInputAreNotVisited)
{
    calls.clear();
    GameObject root;
    ScriptedBehavior* remover = nullptr;
    GameObject* screen = MakeObject("screen", &remover);
    root.AddChild(screen);
    screen->AddChild(MakeObject("old"));
    screen->AddChild(MakeObject("old"));
    screen->AddChild(MakeObject("kept"));
    remover->onHandleInput = [](ScriptedBehavior* self)
    {
        auto& children = self->owner->children;
        for (int i = 0; i < 2 && !children.empty(); ++i)
        {
            GameObject* child = children.front();
            child->parent = nullptr;
            children.erase(children.begin());
            delete child;
        }
    };

    Game::HandleInputPass(&root);
    EXPECT_EQ(Count("old.HandleInput"), 0);
    EXPECT_EQ(Count("kept.HandleInput"), 1);
}

TEST(TreePasses, BehaviourAppendedToItsOwnObjectWaitsForTheNextInputPass)
{
    calls.clear();
    GameObject root;
    ScriptedBehavior* first = nullptr;
    GameObject* object = MakeObject("first", &first);
    root.AddChild(object);
    first->onHandleInput = [](ScriptedBehavior* self)
    {
        if (self->owner->behaviors.size() == 1)
            self->owner->AddComponent(new ScriptedBehavior("late"));
    };

    Game::HandleInputPass(&root);
    EXPECT_EQ(Count("late.HandleInput"), 0);
    Game::UpdatePass(&root);
    EXPECT_EQ(Count("late.Start"), 1);
    EXPECT_EQ(Count("late.Update"), 1);
    Game::HandleInputPass(&root);
    EXPECT_EQ(Count("late.HandleInput"), 1);
}

TEST(TreePasses, WhatUpdateAppendsIsStartedAndUpdatedInTheSamePass)
{
    calls.clear();
    GameObject root;
    ScriptedBehavior* grower = nullptr;
    GameObject* object = MakeObject("grower", &grower);
    root.AddChild(object);
    grower->onUpdate = [](ScriptedBehavior* self)
    {
        if (self->owner->children.empty())
        {
            self->owner->AddChild(MakeObject("child"));
            self->owner->AddComponent(new ScriptedBehavior("sibling"));
        }
    };

    Game::UpdatePass(&root);
    std::vector<std::string> expected = {"grower.Start",   "grower.Update", "sibling.Start",
                                         "sibling.Update", "child.Start",   "child.Update"};
    EXPECT_EQ(calls, expected);
}
