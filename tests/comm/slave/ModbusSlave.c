/* A Modbus slave for the tests and the benchmark of the Modbus devices.
 * Usage: tavrinol_modbus_slave PORT          Modbus/TCP on 127.0.0.1:PORT
 *        tavrinol_modbus_slave rtu DEVICE    Modbus RTU, unit 1, 9600 8N1 on a serial device
 * Holds 100 coils, discrete inputs, holding and input registers. Input register i holds
 * 1000 + i, discrete input i is on for odd i; coils and holding registers start at 0.
 * Prints "ready" once it listens and serves one connection after another until killed. */
#include <modbus/modbus.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int ServeRtu(const char* device, modbus_mapping_t* map)
{
    modbus_t* context = modbus_new_rtu(device, 9600, 'N', 8, 1);
    if (!context || modbus_set_slave(context, 1) != 0 || modbus_connect(context) != 0)
        return 1;
    printf("ready\n");
    fflush(stdout);
    uint8_t query[MODBUS_RTU_MAX_ADU_LENGTH];
    for (;;) {
        int length = modbus_receive(context, query);
        if (length > 0)
            modbus_reply(context, query, length, map);
    }
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    modbus_mapping_t* map = modbus_mapping_new(100, 100, 100, 100);
    if (!map)
        return 1;
    for (int i = 0; i < 100; ++i) {
        map->tab_input_registers[i] = (uint16_t)(1000 + i);
        map->tab_input_bits[i] = (uint8_t)(i % 2);
    }
    if (argc >= 3 && strcmp(argv[1], "rtu") == 0)
        return ServeRtu(argv[2], map);
    modbus_t* context = modbus_new_tcp("127.0.0.1", atoi(argv[1]));
    if (!context)
        return 1;
    int server = modbus_tcp_listen(context, 4);
    if (server < 0)
        return 1;
    printf("ready\n");
    fflush(stdout);
    for (;;) {
        if (modbus_tcp_accept(context, &server) < 0)
            return 1;
        uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
        for (;;) {
            int length = modbus_receive(context, query);
            if (length > 0)
                modbus_reply(context, query, length, map);
            else if (length < 0)
                break;
        }
        modbus_close(context);
    }
}
