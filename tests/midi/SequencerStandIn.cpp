// A stand-in for the kernel's ALSA sequencer, preloaded (LD_PRELOAD) into a
// test process or the program so that JUCE's own ALSA MIDI code runs against
// outputs that a test describes. Only the snd_seq_* calls are replaced;
// libasound's MIDI event encoder stays the real one, and the events it builds
// are what gets recorded.
//
// SEQUENCER_STAND_IN_OUTPUTS: a file with one output per line, "client:port name"
//   (the name may be empty). It is read afresh by every snd_seq_open, so a test
//   plugs and unplugs outputs by rewriting it.
// SEQUENCER_STAND_IN_LOG: a file that gets one line per event, appended:
//   "open client:port name", "send client:port F0 .. F7", "close client:port name",
//   and "event client:port type N" for anything that is not system exclusive.

#include <alsa/asoundlib.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
struct Output
{
    int client = 0;
    int port = 0;
    std::string name;
};

std::string addressOf (const Output& output)
{
    return std::to_string (output.client) + ":" + std::to_string (output.port);
}

std::vector<Output> readOutputs()
{
    std::vector<Output> outputs;
    const char* path = std::getenv ("SEQUENCER_STAND_IN_OUTPUTS");
    if (path == nullptr)
        return outputs;

    std::ifstream file (path);
    for (std::string line; std::getline (file, line);)
    {
        if (! line.empty() && line.back() == '\r')
            line.pop_back();

        Output output;
        int consumed = 0;
        if (std::sscanf (line.c_str(), "%d:%d%n", &output.client, &output.port, &consumed) != 2 || output.client <= 0)
            continue;

        if ((size_t) consumed < line.size())
            output.name = line.substr ((size_t) consumed + 1);
        outputs.push_back (output);
    }
    return outputs;
}

void record (const std::string& line)
{
    const char* path = std::getenv ("SEQUENCER_STAND_IN_LOG");
    if (path == nullptr)
        return;

    // One write per line, appended, so lines of several processes never mix.
    const int file = open (path, O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (file < 0)
        return;

    const auto text = line + "\n";
    [[maybe_unused]] const auto written = write (file, text.data(), text.size());
    close (file);
}

std::string hexBytes (const std::vector<unsigned char>& bytes)
{
    std::string text;
    char byte[4];
    for (auto value : bytes)
    {
        std::snprintf (byte, sizeof (byte), text.empty() ? "%02X" : " %02X", value);
        text += byte;
    }
    return text;
}

// The client number of every sequencer opened here; no output uses it.
constexpr int ownClientId = 128;
} // namespace

/** One open sequencer: the outputs present when it was opened, and the
    connections of its own ports to them. */
struct _snd_seq
{
    int clientId = 0;
    std::vector<Output> outputs;
    int nextPort = 0;
    std::map<int, Output> connections;             // own port -> output
    std::map<int, std::vector<unsigned char>> sysex; // own port -> bytes so far
};

struct _snd_seq_system_info
{
    int clients;
};

struct _snd_seq_client_info
{
    int client;
    int numPorts;
};

struct _snd_seq_port_info
{
    int client;
    int port;
    unsigned int capability;
    char name[64];
};

namespace
{
void closeConnection (snd_seq_t* seq, int port)
{
    const auto connection = seq->connections.find (port);
    if (connection == seq->connections.end())
        return;

    record ("close " + addressOf (connection->second) + " " + connection->second.name);
    seq->connections.erase (connection);
    seq->sysex.erase (port);
}

void recordEvent (snd_seq_t* seq, const snd_seq_event_t& event)
{
    const auto connection = seq->connections.find (event.source.port);
    if (connection == seq->connections.end())
        return; // no subscriber: the event reaches nobody

    const auto& output = connection->second;
    if (event.type != SND_SEQ_EVENT_SYSEX)
    {
        record ("event " + addressOf (output) + " type " + std::to_string (event.type));
        return;
    }

    // The encoder may split a long message into several events.
    auto& bytes = seq->sysex[event.source.port];
    const auto* data = static_cast<const unsigned char*> (event.data.ext.ptr);
    bytes.insert (bytes.end(), data, data + event.data.ext.len);

    if (! bytes.empty() && bytes.back() == 0xF7)
    {
        record ("send " + addressOf (output) + " " + hexBytes (bytes));
        bytes.clear();
    }
}

const Output* findOutput (const snd_seq_t* seq, int client, int port)
{
    for (const auto& output : seq->outputs)
        if (output.client == client && output.port == port)
            return &output;
    return nullptr;
}
} // namespace

extern "C"
{
int snd_seq_open (snd_seq_t** handle, const char*, int, int)
{
    auto* seq = new _snd_seq();
    seq->clientId = ownClientId;
    seq->outputs = readOutputs();
    *handle = seq;
    return 0;
}

int snd_seq_close (snd_seq_t* seq)
{
    while (! seq->connections.empty())
        closeConnection (seq, seq->connections.begin()->first);
    delete seq;
    return 0;
}

int snd_seq_nonblock (snd_seq_t*, int) { return 0; }
int snd_seq_set_client_name (snd_seq_t*, const char*) { return 0; }
int snd_seq_client_id (snd_seq_t* seq) { return seq->clientId; }

size_t snd_seq_system_info_sizeof() { return sizeof (_snd_seq_system_info); }
size_t snd_seq_client_info_sizeof() { return sizeof (_snd_seq_client_info); }
size_t snd_seq_port_info_sizeof() { return sizeof (_snd_seq_port_info); }

int snd_seq_system_info (snd_seq_t* seq, snd_seq_system_info_t* info)
{
    std::map<int, int> clients;
    for (const auto& output : seq->outputs)
        ++clients[output.client];
    info->clients = (int) clients.size();
    return 0;
}

int snd_seq_system_info_get_cur_clients (const snd_seq_system_info_t* info) { return info->clients; }

// Like the kernel: the client after the one in info, in ascending numbers.
int snd_seq_query_next_client (snd_seq_t* seq, snd_seq_client_info_t* info)
{
    int next = -1;
    for (const auto& output : seq->outputs)
        if (output.client > info->client && (next < 0 || output.client < next))
            next = output.client;

    if (next < 0)
        return -ENOENT;

    info->client = next;
    info->numPorts = 0;
    for (const auto& output : seq->outputs)
        info->numPorts += output.client == next ? 1 : 0;
    return 0;
}

int snd_seq_client_info_get_client (const snd_seq_client_info_t* info) { return info->client; }
int snd_seq_client_info_get_num_ports (const snd_seq_client_info_t* info) { return info->numPorts; }

void snd_seq_port_info_set_client (snd_seq_port_info_t* info, int client) { info->client = client; }
void snd_seq_port_info_set_port (snd_seq_port_info_t* info, int port) { info->port = port; }
int snd_seq_port_info_get_port (const snd_seq_port_info_t* info) { return info->port; }
unsigned int snd_seq_port_info_get_capability (const snd_seq_port_info_t* info) { return info->capability; }
const char* snd_seq_port_info_get_name (const snd_seq_port_info_t* info) { return info->name; }

int snd_seq_query_next_port (snd_seq_t* seq, snd_seq_port_info_t* info)
{
    const Output* next = nullptr;
    for (const auto& output : seq->outputs)
        if (output.client == info->client && output.port > info->port && (next == nullptr || output.port < next->port))
            next = &output;

    if (next == nullptr)
        return -ENOENT;

    info->port = next->port;
    // A device's port: others can write to it (an output) and read from it.
    info->capability = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ
                     | SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
    std::snprintf (info->name, sizeof (info->name), "%s", next->name.c_str());
    return 0;
}

int snd_seq_create_simple_port (snd_seq_t* seq, const char*, unsigned int, unsigned int)
{
    return seq->nextPort++;
}

int snd_seq_delete_simple_port (snd_seq_t* seq, int port)
{
    closeConnection (seq, port);
    return 0;
}

int snd_seq_connect_to (snd_seq_t* seq, int port, int client, int clientPort)
{
    const auto* output = findOutput (seq, client, clientPort);
    if (output == nullptr)
        return -ENOENT;

    closeConnection (seq, port);
    seq->connections[port] = *output;
    record ("open " + addressOf (*output) + " " + output->name);
    return 0;
}

int snd_seq_event_output_direct (snd_seq_t* seq, snd_seq_event_t* event)
{
    recordEvent (seq, *event);
    const auto variable = (event->flags & SND_SEQ_EVENT_LENGTH_MASK) == SND_SEQ_EVENT_LENGTH_VARIABLE;
    return (int) (sizeof (*event) + (variable ? event->data.ext.len : 0));
}

// Input: nothing ever arrives.
int snd_seq_connect_from (snd_seq_t*, int, int, int) { return 0; }
int snd_seq_poll_descriptors_count (snd_seq_t*, short) { return 0; }
int snd_seq_poll_descriptors (snd_seq_t*, struct pollfd*, unsigned int, short) { return 0; }
int snd_seq_event_input (snd_seq_t*, snd_seq_event_t** event) { *event = nullptr; return -EAGAIN; }
int snd_seq_event_input_pending (snd_seq_t*, int) { return 0; }
int snd_seq_free_event (snd_seq_event_t*) { return 0; }
}
