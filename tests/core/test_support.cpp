#include "test_support.hpp"

#include <iconv.h>

#include <memory>
#include <stdexcept>
#include "compiler/codegen/codegen.hpp"
#include "tests/support/own_session.hpp"

std::vector<QUVException> DriverScope::seen;
std::vector<size_t> DriverScope::listSizeAtCallback;

DriverScope::DriverScope(const std::string& file) : driver(file) {
    seen.clear();
    listSizeAtCallback.clear();
    driver.errorSink = [this](const QUVException& e) {
        seen.push_back(e);
        listSizeAtCallback.push_back(driver.records().size());
    };
}

DriverScope::~DriverScope() = default;

std::string gbkBytes(const std::string& utf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv cannot convert to GBK");
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* dst = &out[0];
    size_t outLeft = out.size();
    if (iconv(cd, &in, &inLeft, &dst, &outLeft) == static_cast<size_t>(-1))
        throw std::runtime_error("text not convertible to GBK");
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

std::unique_ptr<FieldListFragment> fieldList(const std::vector<std::pair<std::string, Type*>>& fields) {
    auto list = std::make_unique<FieldListFragment>();
    // The tables hand distinct field names; a repeated one is a test of its own.
    OwnJob job("fields.e");
    for (const auto& f : fields) {
        FieldFragment item;
        codegen::createFieldDecl(job, item, f.first, f.second);
        codegen::createFieldList(job, *list, item);
    }
    return list;
}

Type* makeRecordOf(TypeRegistry& types, const std::vector<std::pair<std::string, Type*>>& fields) {
    return types.makeRecord(*fieldList(fields));
}

Type* makeUnionOf(TypeRegistry& types, const std::vector<std::pair<std::string, Type*>>& fields) {
    return types.makeUnion(*fieldList(fields));
}

Type* makeRecordOf(JobState& job, const std::vector<std::pair<std::string, Type*>>& fields) {
    Type* t = makeRecordOf(job.types(), fields);
    job.noteRecord(static_cast<const RecordType*>(t));
    return t;
}

Type* makeUnionOf(JobState& job, const std::vector<std::pair<std::string, Type*>>& fields) {
    Type* t = makeUnionOf(job.types(), fields);
    job.noteRecord(static_cast<const RecordType*>(t));
    return t;
}
