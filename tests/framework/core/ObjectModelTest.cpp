#include <gtest/gtest.h>

#include "framework/core/BaseObject.h"
#include "framework/core/GuiMethod.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/RefPointer.h"

namespace {

// A small hierarchy with two parents, shaped like a widget that is both a
// drawable object and a callback target.
class Shape : public BaseObject {
    TT_CLASS_RECORD(Shape)
public:
    explicit Shape(AbstractProperty* = nullptr) { ++alive; }
    ~Shape() override { --alive; }
    static int alive;
};
int Shape::alive = 0;

class Clickable : public Shape, public iGuiMethod {
    TT_CLASS_RECORD(Clickable)
public:
    explicit Clickable(AbstractProperty* = nullptr) {}
    int invoke(BaseObject*) override { return ++clicks; }
    Interface* getInterface(const ClassRecord* record) override
    {
        if (record == &iGuiMethod::classRecord)
            return static_cast<iGuiMethod*>(this);
        return nullptr;
    }
    int clicks = 0;
};

class Unrelated : public BaseObject {
    TT_CLASS_RECORD(Unrelated)
};

class Orphan : public BaseObject {
    TT_CLASS_RECORD(Orphan)
};

TT_DEFINE_RECORD(Shape, &BaseObject::classRecord);
TT_DEFINE_RECORD(Clickable, &Shape::classRecord, &iGuiMethod::classRecord);
TT_DEFINE_RECORD(Unrelated, &BaseObject::classRecord);
TT_DEFINE_ROOT_RECORD(Orphan);

TT_REGISTER_CLASS(Shape);
TT_REGISTER_CLASS(Clickable);
// A creator name that makes an object of another class.
TT_REGISTER_CREATOR(ShapeAlias, Clickable);

} // namespace

TEST(ClassRecord, KindOfWalksEveryParentDepthFirst)
{
    EXPECT_TRUE(Clickable::classRecord.isKindOf(&Clickable::classRecord));
    EXPECT_TRUE(Clickable::classRecord.isKindOf(&Shape::classRecord));
    EXPECT_TRUE(Clickable::classRecord.isKindOf(&BaseObject::classRecord));
    // Reached only through the second parent.
    EXPECT_TRUE(Clickable::classRecord.isKindOf(&Interface::classRecord));
    EXPECT_FALSE(Clickable::classRecord.isKindOf(&Unrelated::classRecord));
    EXPECT_FALSE(Shape::classRecord.isKindOf(&Clickable::classRecord));
    // A class registered without parents is not a kind of BaseObject by record.
    EXPECT_FALSE(Orphan::classRecord.isKindOf(&BaseObject::classRecord));
}

TEST(ClassRecord, RecordsWithTheSameNameAreDistinct)
{
    static const ClassRecord* const parents[] = {&BaseObject::classRecord, nullptr};
    static const ClassRecord first{"ModifierLogic", parents};
    static const ClassRecord second{"ModifierLogic", parents};
    EXPECT_FALSE(first.isKindOf(&second));
    EXPECT_FALSE(second.isKindOf(&first));
}

TEST(ObjectModel, ObjectCastAndInterfaces)
{
    RefPointer<Clickable> clickable(new Clickable);
    BaseObject* object = clickable.get();
    EXPECT_EQ(objectCast<Shape>(object), static_cast<Shape*>(clickable.get()));
    EXPECT_EQ(objectCast<Unrelated>(object), nullptr);
    EXPECT_EQ(objectCast<Shape>(static_cast<BaseObject*>(nullptr)), nullptr);

    iGuiMethod* method = interfaceCast<iGuiMethod>(object);
    ASSERT_NE(method, nullptr);
    EXPECT_EQ(method->invoke(nullptr), 1);
    EXPECT_EQ(clickable->clicks, 1);
    // Only the interface's own record answers, not a class deriving from it.
    EXPECT_EQ(object->getInterface(&Clickable::classRecord), nullptr);
}

TEST(ObjectModel, ReferenceCountingDestroysAtZero)
{
    const int before = Shape::alive;
    {
        Shape* raw = new Shape;
        EXPECT_EQ(raw->getReferenceCount(), 0);
        RefPointer<Shape> first(raw);
        EXPECT_EQ(raw->getReferenceCount(), 1);
        {
            RefPointer<Shape> second = first;
            EXPECT_EQ(raw->getReferenceCount(), 2);
            RefPointer<BaseObject> asBase(second);
            EXPECT_EQ(raw->getReferenceCount(), 3);
        }
        EXPECT_EQ(raw->getReferenceCount(), 1);
        first = first; // self-assignment keeps the object alive
        EXPECT_EQ(raw->getReferenceCount(), 1);
        RefPointer<Shape> moved = std::move(first);
        EXPECT_FALSE(first);
        EXPECT_EQ(raw->getReferenceCount(), 1);
        EXPECT_EQ(Shape::alive, before + 1);
    }
    EXPECT_EQ(Shape::alive, before);
}

TEST(ObjectModel, AssignmentReleasesTheOldPointee)
{
    const int before = Shape::alive;
    RefPointer<Shape> pointer(new Shape);
    pointer = new Shape;
    EXPECT_EQ(Shape::alive, before + 1);
    pointer.reset();
    EXPECT_EQ(Shape::alive, before);
}

#ifndef NDEBUG
TEST(ObjectModelDeathTest, ReleaseBelowZeroIsCaught)
{
    EXPECT_DEATH(
        {
            Shape* shape = new Shape;
            shape->release();
        },
        "release");
}
#endif

TEST(ObjectFactory, CreatesRegisteredNamesOnly)
{
    ASSERT_NE(ObjectFactoryContainer::instance, nullptr);
    ObjectFactoryContainer& factory = *ObjectFactoryContainer::instance;

    RefPointer<BaseObject> shape = factory.createInstance("Shape", nullptr);
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->getClassName(), &Shape::classRecord);
    EXPECT_EQ(shape->getReferenceCount(), 1);

    RefPointer<BaseObject> alias = factory.createInstance("ShapeAlias", nullptr);
    ASSERT_TRUE(alias);
    EXPECT_EQ(alias->getClassName(), &Clickable::classRecord);

    EXPECT_FALSE(factory.createInstance("NoSuchClass", nullptr));
    EXPECT_FALSE(factory.hasCreator("NoSuchClass"));
    EXPECT_FALSE(factory.create<Unrelated>("Shape", nullptr));
    EXPECT_TRUE(factory.create<Shape>("ShapeAlias", nullptr));

    // From a definition, the type name picks the class.
    RefPointer<PropertyNode> definition(new PropertyNode("s", "Shape"));
    RefPointer<BaseObject> defined = ObjectFactoryContainer::createFromDefinition(definition.get());
    ASSERT_TRUE(defined);
    EXPECT_EQ(defined->getClassName(), &Shape::classRecord);
    EXPECT_FALSE(ObjectFactoryContainer::createFromDefinition(nullptr));
}

TEST(ObjectFactory, LaterRegistrationReplacesEarlier)
{
    ObjectFactoryContainer& factory = *ObjectFactoryContainer::instance;
    factory.registerCreator("Replaceable", [](AbstractProperty*) -> BaseObject* { return new Shape; });
    factory.registerCreator("Replaceable", [](AbstractProperty*) -> BaseObject* { return new Clickable; });
    RefPointer<BaseObject> made = factory.createInstance("Replaceable", nullptr);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->getClassName(), &Clickable::classRecord);
}

TEST(GuiMethod, BindsMemberFunctions)
{
    struct Target {
        int onClick(BaseObject* argument) { return argument ? 7 : 3; }
    } target;
    GuiMethod method = GuiMethod::bind<Target, &Target::onClick>(&target);
    EXPECT_TRUE(method.isBound());
    EXPECT_EQ(method.invoke(nullptr), 3);
    RefPointer<Shape> shape(new Shape);
    EXPECT_EQ(method.invoke(shape.get()), 7);
    EXPECT_EQ(GuiMethod().invoke(nullptr), 0);
}
