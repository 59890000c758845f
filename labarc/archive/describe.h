// One description of each composite's run of entries, walked in every direction.
//
// A composite (a font, a text object, an axis, ...) has one function
//
//   template <class Io> bool labarc::Describe(const Io& io, Composite& value);
//
// in the describe header of its folder, listing its entries in file order. The archive's writer
// and reader are two directions over that list, so they cannot drift apart; a third direction
// that only records each entry's label and value type gives the composite's schema without
// repeating a label. Describe returns false at the first step that fails; it never reports:
// the direction's caller does that.
//
// An Io direction offers these const members, each returning true when the step succeeded:
//
//   io(label, value)             A labelled entry of one value type (int, UINT, long, BYTE,
//                                double, unsigned long for a colour, CString, tagRECT, CSize,
//                                tagPOINT, DPOINT, CDate). `label` is a const char*.
//   io(composite)                A nested composite. The writer and the reader go through the
//                                archive's public Write/Read of that type, so each level of a
//                                failure is reported as at the top; a schema direction may walk
//                                it through Describe(io, composite) instead.
//   io.Line(text)                An unlabelled line: written as `text` alone, without "=";
//                                read as the whole next line into `text` (a CString).
//   io.Formatted(label, value, format)
//                                An entry written as the CString that format(value) makes and
//                                read as the value type of `value`.
//   io.Property(label, object, get, set)
//                                An entry reached through accessors: written from
//                                std::invoke(get, object); read as PropertyType<decltype(set)>
//                                and stored by (object.*set)(v) for a member setter, or by
//                                set(object, v, archive) for a free function.
//   io.Ranged(label, value, least, most)
//                                A labelled entry of an integer type whose value must lie in
//                                [least, most], checked after the entry in both directions; a
//                                refusal names the entry, the value and the values allowed.
//                                Directions that hold no real values record the range.
//   io.OnRead(step)              A step only the reader takes, right here in the sequence:
//                                step(const CArchiveEx&) -> bool (a clamp, a conversion).
//   io.Count(label, count, leastBytes)
//                                An int entry holding a number of items, each of which takes at
//                                least `leastBytes` bytes of the lines after it: a negative
//                                number, or a large one the rest of the file cannot hold, is
//                                refused as a value before a reader makes room for the items.
//   io.Blocks(count, block)      block(slot) -> bool for slot 0 to count - 1. `count` is an int,
//                                or a BlockCount whose count depends on the archive's version.
//   io.PointLines(curve)         A curve's point lines, the last of its steps: written from its
//                                points, read into as many points as its count says.
//
// A direction that walks nested composites itself calls Describe(*this, nested) unqualified from
// a class in namespace labarc, so that every overload included before its use is found.
//
// Writers hand Describe their value through a const_cast: no writer step changes the value, and
// reader-only steps never run while writing.
//
// Beside Describe, each composite specialises CompositeTraits with its name and the working copy
// its reader fills; the composite registry (labarc/document/composites.h) lists them all.
#pragma once

#include <type_traits>

class CArchiveEx;

namespace labarc {

// A number of blocks that older archives hold fewer of: `count` blocks in the format written
// today, `olderCount` in archives whose version is `olderUpTo` or lower.
struct BlockCount {
  int count;
  int olderCount;
  double olderUpTo;
};

// The value type a property's setter takes, which is the type its entry is read as.
template <class Set>
struct PropertyTypeOf;
template <class Object, class T>
struct PropertyTypeOf<void (Object::*)(T)> {
  using type = std::remove_cvref_t<T>;
};
template <class Object, class T>
struct PropertyTypeOf<void (*)(Object&, T, const CArchiveEx&)> {
  using type = std::remove_cvref_t<T>;
};
template <class Set>
using PropertyType = typename PropertyTypeOf<Set>::type;

// What the registry knows of a composite type T beside its Describe function:
//   static constexpr const char* name;  its name in schemas, documents and the tool ("legend")
//   static T Working(const T& target);   the copy a reader fills and hands over on success
template <class T>
struct CompositeTraits;

// The usual working copy: the caller's value, so that members without entries stay as they are.
template <class T>
struct CopiedWorking {
  static T Working(const T& target) { return target; }
};

// The working copy of the graph objects: made by their assignment, with their last member, which
// no entry stores and their assignment need not copy, copied by hand.
template <class T, auto Trailing>
struct AssignedWorking {
  static T Working(const T& target) {
    T working;
    working = target;
    working.*Trailing = target.*Trailing;
    return working;
  }
};

// block(slot) for slot 0 to count - 1, stopping at the first that fails.
template <class Block>
bool EachSlot(int count, Block block) {
  for (int slot = 0; slot < count; ++slot)
    if (!block(slot)) return false;
  return true;
}

// What every direction that only walks a description shares: reader-only steps pass, and each
// block is visited once per slot. A walker adds its own Blocks(const BlockCount&).
struct DescriptionWalk {
  template <class Step>
  static bool OnRead(Step) {
    return true;
  }
  template <class Block>
  static bool Blocks(int count, Block block) {
    for (int slot = 0; slot < count; ++slot) block(slot);
    return true;
  }
};

}  // namespace labarc
