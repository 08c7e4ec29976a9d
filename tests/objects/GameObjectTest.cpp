#include "objects/Behavior.h"
#include "objects/AddressSanitizer.h"
#include "objects/GameObject.h"
#include "objects/SceneArena.h"
#include "objects/Position2dComponent.h"
#include "objects/SpriteComponent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<std::string> destroyed;

// A part that records its name when it is destroyed.
template <typename Part> class Named : public Part
{
public:
    explicit Named(std::string name) : name(std::move(name)) {}
    ~Named() override { destroyed.push_back(name); }
    std::string name;
};

class NamedBehavior : public Behavior
{
public:
    explicit NamedBehavior(std::string name) : name(std::move(name)) {}
    ~NamedBehavior() override { destroyed.push_back(name); }
    void Update() override {}
    void HandleInput() override {}
    void Start() override {}
    std::string name;
};

using NamedPosition = Named<Position2dComponent>;
using NamedSprite = Named<SpriteComponent>;
using NamedObject = Named<GameObject>;
// A subclass of a behaviour still counts as a behaviour.
class DerivedBehavior : public NamedBehavior
{
    using NamedBehavior::NamedBehavior;
};
} // namespace

TEST(GameObject, ShortcutsAreTheFirstPositionAndSpriteAndReachBehavioursAddedEarlier)
{
    GameObject object;
    auto* early = new DerivedBehavior("early");
    object.AddComponent(early);
    auto* position = new NamedPosition("p1");
    auto* sprite = new NamedSprite("s1");
    object.AddComponent(position);
    object.AddComponent(sprite);
    auto* late = new NamedBehavior("late");
    object.AddComponent(late);

    EXPECT_EQ(object.position, position);
    EXPECT_EQ(object.sprite, sprite);
    for (Behavior* behavior : {static_cast<Behavior*>(early), static_cast<Behavior*>(late)})
    {
        EXPECT_EQ(behavior->position, position);
        EXPECT_EQ(behavior->sprite, sprite);
        EXPECT_EQ(behavior->owner, &object);
    }
    ASSERT_EQ(object.behaviors.size(), 2u);
    EXPECT_EQ(object.behaviors[0], early);
    EXPECT_EQ(position->owner, &object);

    // A second position or sprite is kept but changes no shortcut.
    object.AddComponent(new NamedPosition("p2"));
    object.AddComponent(new NamedSprite("s2"));
    EXPECT_EQ(object.position, position);
    EXPECT_EQ(late->sprite, sprite);
    EXPECT_EQ(object.components.size(), 6u);
}

TEST(GameObject, DeletingATreeDeletesComponentsThenChildrenOnceEach)
{
    destroyed.clear();
    auto* root = new NamedObject("root");
    root->AddComponent(new NamedBehavior("root.b"));
    root->AddComponent(new NamedPosition("root.p"));
    auto* child = new NamedObject("child");
    child->AddComponent(new NamedSprite("child.s"));
    auto* grandchild = new NamedObject("grandchild");
    grandchild->AddComponent(new NamedBehavior("grandchild.b"));
    child->AddChild(grandchild);
    root->AddChild(child);
    root->AddChild(new NamedObject("second"));

    EXPECT_EQ(child->parent, root);
    EXPECT_EQ(grandchild->parent, child);
    EXPECT_EQ(root->parent, nullptr);

    delete root;
    // The most derived destructor runs first, then GameObject's frees the
    // components and then the children, depth first.
    std::vector<std::string> expected = {"root",    "root.b",     "root.p",       "child",
                                         "child.s", "grandchild", "grandchild.b", "second"};
    EXPECT_EQ(destroyed, expected);
}

// Pieces of sizes no other test makes, so that their pools hold only the
// pieces of the test below.
struct WideObject : GameObject
{
    char padding[104] = {};
};
struct WidePosition : Position2dComponent
{
    char padding[104] = {};
};

TEST(GameObject, PiecesReturnWhenTheTreeIsDeletedAndServeTheNextOfTheirSize)
{
    const std::size_t before = SceneArena::PiecesInUse();
    auto* root = new GameObject();
    std::vector<char*> objects;
    for (int i = 0; i < 100; ++i)
    {
        auto* object = new WideObject();
        object->AddComponent(new WidePosition());
        object->AddComponent(new SpriteComponent());
        root->AddChild(object);
        objects.push_back(reinterpret_cast<char*>(object));
    }
    EXPECT_EQ(SceneArena::PiecesInUse(), before + 1 + 100 * 4);

    // A freed piece serves the next one of its size.
    GameObject* removed = root->children[50];
    root->children.erase(root->children.begin() + 50);
    EXPECT_EQ(reinterpret_cast<char*>(root->children[50]), objects[51]);
    delete removed;
    GameObject* next = new WideObject();
    EXPECT_EQ(next, removed);
    delete next;

    delete root;
    EXPECT_EQ(SceneArena::PiecesInUse(), before);
}

// A list keeps a lone item in its own word and moves to a block on the arena
// for more, or for a null item, which would otherwise read as no item.
TEST(GameObject, ListsKeepOrderAndNullItemsAcrossTheirForms)
{
    const std::size_t before = SceneArena::PiecesInUse();
    GameObject a, b, c;
    {
        GameObject::List<GameObject*> list;
        list.push_back(nullptr);
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0], nullptr);
        list.pop_back();
        EXPECT_TRUE(list.empty());

        list.push_back(&a); // held in the block it already has
        list.push_back(&b);
        list.push_back(&c);
        EXPECT_EQ(std::vector<GameObject*>(list.begin(), list.end()),
                  (std::vector<GameObject*>{&a, &b, &c}));
        list.erase(list.begin(), list.begin() + 2);
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list.front(), &c);
    }
    {
        GameObject::List<GameObject*> list;
        list.push_back(&a); // in the word: no piece
        EXPECT_EQ(SceneArena::PiecesInUse(), before);
        EXPECT_EQ(list.back(), &a);
        list.push_back(nullptr);
        list.push_back(&b);
        EXPECT_EQ(std::vector<GameObject*>(list.begin(), list.end()),
                  (std::vector<GameObject*>{&a, nullptr, &b}));
        EXPECT_THROW(list.at(3), std::out_of_range);
    }
    {
        GameObject::List<GameObject*> list;
        list.push_back(&a);
        list.erase(list.begin());
        EXPECT_TRUE(list.empty());
        list.push_back(&b);
        EXPECT_EQ(list.erase(list.end(), list.end()), list.end());
        EXPECT_EQ(list.size(), 1u);
    }
    EXPECT_EQ(SceneArena::PiecesInUse(), before);
}

// A freed piece of the scene is poisoned, so a use after free is caught
// under AddressSanitizer, whichever compiler built it.
TEST(GameObjectDeathTest, AUseAfterFreeInTheSceneIsCaught)
{
    if (!AddressSanitizerOn())
        GTEST_SKIP() << "without AddressSanitizer nothing checks the scene's memory";
    GameObject* object = new GameObject();
    GameObject* volatile dangling = object;
    delete object;
    EXPECT_DEATH((void)dangling->parent, "use-after-poison");
}
