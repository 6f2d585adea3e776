#include "compiler/treewalk/constant_value.hpp"

#include "compiler/core/diagnostics.hpp"
#include "compiler/core/types.hpp"

void ConstantValue::newConstant(int kind_, const std::string& text)
{
    kind = kind_;
    typeset = text;
    switch (kind) {
    case 0: code = text; type = Type::integerType; break;
    case 1: code = text; type = Type::floatType; break;
    case 2: code = "static_cast<std::string>(" + text + ")"; type = Type::stringType; break;
    case 3: code = "true"; type = Type::logicType; break;
    case 4: code = "false"; type = Type::logicType; break;
    case 5: code = "true"; type = Type::boolType; break;
    case 6: code = "false"; type = Type::boolType; break;
    case 7: code = "-" + text; type = Type::integerType; break;
    case 8: code = "-" + text; type = Type::floatType; break;
    default: throwInternalFailure("illegal constant type", "Constant::newConstant()");
    }
}
