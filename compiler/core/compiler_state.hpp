// What the compiler stages need of the compile driver of the running job: its
// error callback, the tree walker's current place, the source file name and the
// project's process registry. The driver itself builds on this class.
#pragma once
#include <string>
#include <vector>

class QUVException;
class TopFragment;

// Processes declared and referenced across the files of one project.
class ProcessRegistry {
public:
    struct Entry {
        std::string name;
        int line;
        int column;
        std::string file;
    };

    void addReference(const std::string& name, int line, int column, const std::string& file);
    void addDeclaration(const std::string& name, int line, int column, const std::string& file);

    const std::vector<Entry>& getDeclarations() const { return declarations; }
    const std::vector<Entry>& getReferences() const { return references; }

private:
    static const Entry* findIn(const std::vector<Entry>& entries, const std::string& name);
    std::vector<Entry> declarations;
    std::vector<Entry> references;
};

class QUVCompiler {
public:
    typedef void (*ErrorCallback)(QUVException*);

    // Makes this driver current and empties the global diagnostic list for its job.
    explicit QUVCompiler(const std::string& fileName = "");
    ~QUVCompiler();
    QUVCompiler(const QUVCompiler&) = delete;
    QUVCompiler& operator=(const QUVCompiler&) = delete;

    // The driver of the running job; null when no job runs.
    static QUVCompiler* current;

    ErrorCallback errorCallback = nullptr;

    int getWalkLine() const { return walkLine; }
    int getWalkColumn() const { return walkColumn; }
    std::string getWalkRule() const { return walkRule; }
    std::string getFileName() const { return fileName; }
    void setFileName(const std::string& name) { fileName = name; }
    // The tree walker keeps its place here so diagnostics can point into the source.
    void setWalkPosition(int line, int column) { walkLine = line; walkColumn = column; }
    void setWalkRule(const std::string& rule) { walkRule = rule; }

    // The top fragment of the source being compiled: the generator state that
    // holds the channel style. Without one the style reads as synchronous.
    void setProgramState(TopFragment* top);
    TopFragment* getProgramState() const { return programState; }
    void setSynchronous(bool synchronous);
    bool isSynchronous() const;

    void noteProcessDeclaration(const std::string& name, int line, int column);
    void noteProcessReference(const std::string& name, int line, int column);
    ProcessRegistry& getProcessRegistry() { return processes; }

private:
    std::string fileName;
    int walkLine = 0;
    int walkColumn = 0;
    std::string walkRule;
    ProcessRegistry processes;
    TopFragment* programState = nullptr;
    QUVCompiler* previous;
};

// Switches the lexer into typesetting mode: line ends and comments become tokens.
extern bool typesettingMode;
