// Concrete objects of the sandbox and of scripted tests.
#include "platform/core.hpp"

namespace Tessel::PCSDK::Sandbox {

const wchar_t* TextPointer(const Text& text) { return text ? text->c_str() : nullptr; }

ResultObject::ResultObject(uint32_t op, uint32_t code)
    : Object(Base::kResultObject), operationCode(op), resultCode(code)
{
}
uint32_t ResultObject::GetOperationCode() const { return operationCode; }
uint32_t ResultObject::GetResultCode() const { return resultCode; }

CallbackResultObject::CallbackResultObject() : Object(Base::kCallbackResultObject) {}
CallbackResultObject::CallbackResultObject(void* context, uint32_t op, uint32_t code, Text text,
                                           int32_t number)
    : Object(Base::kCallbackResultObject),
      result(op, code),
      message(std::move(text)),
      value(number),
      userContext(context)
{
}
Base::IResultObject* CallbackResultObject::GetResult() const { return hasResult ? &result : nullptr; }
const wchar_t* CallbackResultObject::GetMessageText() const { return TextPointer(message); }
int32_t CallbackResultObject::GetValue() const { return value; }
void* CallbackResultObject::GetUserContext() const { return userContext; }

ListObject::ListObject() : Object(Base::kListObject) {}
ListObject::ListObject(std::vector<Base::IObject*> list) : Object(Base::kListObject), items(std::move(list)) {}
uint32_t ListObject::GetCount() const
{
    return count ? *count : static_cast<uint32_t>(items.size());
}
Base::IObject* ListObject::GetItem(uint32_t index) const
{
    return index < items.size() ? items[index] : nullptr;
}

CharacterData::CharacterData(Text characterText) : Object(Base::kDataObject), text(std::move(characterText)) {}
const wchar_t* CharacterData::GetCharacterText() const { return TextPointer(text); }

}  // namespace Tessel::PCSDK::Sandbox
