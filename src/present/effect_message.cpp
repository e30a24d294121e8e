#include "present/effect_message.h"

#include "window/object.h"

bool ReadMessageObject(Handle object, EffectMessage* out) {
    const ObjectRecord* o = object_record(object);
    if (!o || o->kind != OBJ_MESSAGE) return false;
    out->window = o->window;
    out->gc = o->gc;
    out->text = MessageObjectText(object);
    return out->text != nullptr;
}
